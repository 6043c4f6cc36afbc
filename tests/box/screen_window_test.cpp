// The box's window on a display (an Xvfb of the test's own): keys typed into it
// reach the plug-in's widgets, p writes a snapshot, closing it is reported, and
// the box run as a process opens its window and plays its key script.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <SDL.h>

#include "box/boxscreen.h"
#include "box/screen_fixture.h"
#include "box/sdlaudio.h"
#include "host/actions.h"
#include "host/elistbox.h"
#include "host/ewindow.h"
#include "host/mainloop.h"
#include "support/hostfixture.h"
#include "support/process.h"

extern char **environ;
namespace fs = std::filesystem;

namespace
{
// The program's full path on $PATH, or an empty string.
std::string onPath(const char *program)
{
	const char *path = std::getenv("PATH");
	std::string dirs = path ? path : "";
	for (size_t start = 0; start <= dirs.size();)
	{
		size_t end = dirs.find(':', start);
		std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
		if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
			return dir + "/" + program;
		if (end == std::string::npos)
			break;
		start = end + 1;
	}
	return std::string();
}

// An X server without a screen, started for one test and ended with it. It names
// its display through a pipe once it accepts clients, and ends by itself when its
// last client goes, so a test process that dies does not leave it behind.
class Xvfb
{
public:
	Xvfb()
	{
		int fds[2];
		if (pipe2(fds, O_CLOEXEC) != 0)
			return;
		posix_spawn_file_actions_t actions;
		posix_spawn_file_actions_init(&actions);
		posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
		posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
		posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
		const char *argv[] = {"Xvfb", "-displayfd", "3", "-screen", "0", "1600x1300x24", "-nolisten", "tcp", "-terminate", nullptr};
		if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, const_cast<char **>(argv), environ) != 0)
			m_pid = -1;
		posix_spawn_file_actions_destroy(&actions);
		close(fds[1]);
		std::string number;
		pollfd ready{fds[0], POLLIN, 0};
		char c;
		while (m_pid > 0 && poll(&ready, 1, 30000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
			number += c;
		close(fds[0]);
		if (!number.empty())
		{
			m_display = ":" + number;
			setenv("DISPLAY", m_display.c_str(), 1);
		}
	}
	~Xvfb()
	{
		unsetenv("DISPLAY");
		if (m_pid > 0)
		{
			kill(m_pid, SIGTERM);
			waitpid(m_pid, nullptr, 0);
		}
	}
	const std::string &display() const { return m_display; }

private:
	pid_t m_pid = -1;
	std::string m_display;
};

void typeKey(SDL_Keycode key)
{
	SDL_Event event{};
	event.type = SDL_KEYDOWN;
	event.key.keysym.sym = key;
	SDL_PushEvent(&event);
}
} // namespace

TEST(Window, KeysTypedIntoTheWindowReachTheWidgetsAndPWritesASnapshot)
{
	if (onPath("Xvfb").empty())
		GTEST_SKIP() << "Xvfb is not installed";
	const char *savedDisplay = std::getenv("DISPLAY");
	std::string saved = savedDisplay ? savedDisplay : "";
	{
		Xvfb x;
		ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
		HostFixture host;
		Watchdog watchdog{120, "the window test"};
		BoxScreen screen(&host.loop());
		ASSERT_EQ(screen.start(false, 2), BoxScreen::Mode::window);
		fs::path shots = fs::path(host.root().c_str()) / "shots";
		fs::create_directories(shots);
		screen.setSnapshotFolder(shots.string());
		bool closed = false;
		screen.windowClosed = [&] { closed = true; };

		eWindow window;
		window.cresize(eSize(300, 200));
		auto *list = new eListBox<eListBoxEntryText>(&window);
		list->resize(eSize(280, 150));
		for (const char *t : {"one", "two", "three"})
			new eListBoxEntryText(list, t);
		int chosen = -1;
		list->selected.connect([&](eListBoxEntryText *e) { chosen = list->indexOf(e); });
		window.show();

		typeKey(SDLK_DOWN);
		typeKey(SDLK_DOWN);
		typeKey(SDLK_RETURN);
		typeKey(SDLK_p);
		for (int i = 0; i < 2000 && (chosen < 0 || !fs::exists(shots / "screen-001.png")); ++i)
			host.loop().processOneEvent(true);
		EXPECT_EQ(chosen, 2);
		EXPECT_TRUE(fs::exists(shots / "screen-001.txt"));

		SDL_Event quit{};
		quit.type = SDL_QUIT;
		SDL_PushEvent(&quit);
		for (int i = 0; i < 2000 && !closed; ++i)
			host.loop().processOneEvent(true);
		EXPECT_TRUE(closed);
	}
	if (!saved.empty())
		setenv("DISPLAY", saved.c_str(), 1);
}

TEST(Window, TheBoxOpensItsWindowOnADisplayAndPlaysItsKeyScript)
{
	std::string xvfbRun = onPath("xvfb-run");
	if (xvfbRun.empty())
		GTEST_SKIP() << "xvfb-run is not installed";
	char name[] = "/tmp/quelt-window-XXXXXX";
	ASSERT_NE(mkdtemp(name), nullptr);
	fs::path dir = name;
	fs::create_directories(dir / "root");
	std::ofstream(dir / "keys") << "snapshot start\nok\nsnapshot box\nquit\n";
	ProcessResult r = runProcess({xvfbRun, "-a", QUELT_BOX_PATH, "--root", (dir / "root").string(), "--keys",
					     (dir / "keys").string(), "--snapshots", (dir / "shots").string(), "--plugin",
					     TEST_PLUGIN_PATH, "--scale", "2"},
		60);
	EXPECT_FALSE(r.timedOut);
	EXPECT_EQ(r.exitStatus, 0) << r.output;
	EXPECT_NE(r.output.find("[box] screen: window 720x576, scale 2"), std::string::npos) << r.output;
	EXPECT_TRUE(fs::exists(dir / "shots/start.png"));
	std::ifstream box(dir / "shots/box.txt");
	std::string text((std::istreambuf_iterator<char>(box)), std::istreambuf_iterator<char>());
	EXPECT_NE(text.find("A box that closes itself"), std::string::npos) << text;
	fs::remove_all(dir);
}

TEST(Sound, FollowsTheReceiversVolumeFromLoudestToSilent)
{
	struct Case
	{
		int volume;
		bool mute;
		int gain;
	};
	const Case cases[] = {{0, false, 65536}, {62, false, 16}, {63, false, 0}, {0, true, 0}, {-4, false, 65536},
		{70, false, 0}};
	for (const Case &c : cases)
		EXPECT_EQ(SdlAudio::gainFor(c.volume, c.mute), c.gain) << c.volume << (c.mute ? " muted" : "");
	// Every step down is quieter.
	for (int v = 0; v < 63; ++v)
		EXPECT_GT(SdlAudio::gainFor(v, false), SdlAudio::gainFor(v + 1, false)) << v;
}
