// The playback session in the box as a person runs it: the real quelt-box with
// the plug-in from the staged box root, a key script, and VLC's double serving
// a real transport stream. Everything runs on the real clock here, so the waits
// of the scripts leave generous room around the boxes they wait for.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/hostfixture.h"
#include "support/boxrun.h"
#include "support/vlcdouble.h"

namespace fs = std::filesystem;

namespace
{

class BoxSession : public ::testing::Test
{
protected:
	void SetUp() override
	{
		fs::path build = testBuildDir();
		const char *source = getenv("QUELT_SOURCE_DIR");
		ASSERT_TRUE(source) << "run through ctest, which names the source folder";
		m_box = build / "src/box/quelt-box";
		ASSERT_TRUE(fs::exists(m_box)) << m_box << " is not built";
		ASSERT_TRUE(fs::exists(build / "box-root/var/tuxbox/plugins/quelt.so")) << "the box root is not staged";
		m_clip = readWholeFile(fs::path(source) / "tests/fixtures/stream-mpeg2-mpga.ts");
		ASSERT_GT(m_clip.size(), 100000u);

		char tmpl[] = "/tmp/quelt-boxsession-XXXXXX";
		ASSERT_NE(mkdtemp(tmpl), nullptr);
		m_dir = tmpl;
		fs::copy(build / "box-root", m_dir / "root", fs::copy_options::recursive);

		write("var/tuxbox/config/quelt.xml",
			eString::format("<vlc>\n"
							"<server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\" user=\"\" "
							"pass=\"quelt\"/>\n"
							"<config name=\"set1\" startdir=\"/media/films\" cddrive=\"D:\"/>\n"
							"<setup name=\"File\" pic=\"mpg.png\" ext=\"MPG\" Videorate=\"1024\" Videotranscode=\"1\" "
							"Videocodec=\"mpeg2\" Videosize=\"704x576\" Audiorate=\"192\" Audiotranscode=\"1\" fps=\"25\" "
							"soutadd=\"\"/>\n"
							"</vlc>\n",
				m_vlc.webPort(), m_vlc.streamPort()));
		// The smallest pre-buffer, so a few seconds of the clip start a file.
		write("var/tuxbox/config/enigma/config", "i /enigma/plugins/quelt/buffersize 4\n");
		m_vlc.setBrowse("/media/films", VlcDouble::browseXml({{"directory", "..", "/media/films/..", 0},
											{"file", "a.mpg", "/media/films/a.mpg", 700},
											{"file", "b.mpg", "/media/films/b.mpg", 700}}));
	}

	void TearDown() override
	{
		std::error_code ignored;
		fs::remove_all(m_dir, ignored);
	}

	void write(const char *relative, const eString &text)
	{
		fs::path file = m_dir / "root" / relative;
		fs::create_directories(file.parent_path());
		std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
	}

	eString clipTimes(int n) const
	{
		eString out;
		for (int i = 0; i < n; ++i)
			out += m_clip;
		return out;
	}

	ProcessResult runBox(const eString &script)
	{
		return runHeadlessBox(m_box, m_dir / "root", m_dir, script, m_dir / "shots", 240);
	}

	eString snapshot(const char *name) const { return readWholeFile(m_dir / "shots" / (std::string(name) + ".txt")); }

	// The web requests in order, each shortened to its command, or to "browse".
	std::vector<eString> webSteps() const
	{
		std::vector<eString> out;
		for (const eString &target : m_vlc.targets())
		{
			size_t command = target.find("command=");
			if (command != eString::npos)
			{
				eString step = target.mid(command + 8);
				if (step.left(7) == "in_play")
					step = step.left(step.find("%20%3Asout"));
				out.push_back(step);
			}
			else if (target.find("browse.xml") != eString::npos)
				out.push_back("browse");
		}
		return out;
	}

	fs::path m_box, m_dir;
	eString m_clip;
	VlcDouble m_vlc;
};

// Whether steps holds wanted in this order, other steps in between.
bool inOrder(const std::vector<eString> &steps, const std::vector<eString> &wanted)
{
	size_t next = 0;
	for (const eString &step : steps)
		if (next < wanted.size() && step == wanted[next])
			++next;
	return next == wanted.size();
}

unsigned long long decodedVideoFrames(const std::string &output)
{
	size_t at = output.find("[box] decoder: ");
	return at == std::string::npos ? 0 : std::strtoull(output.c_str() + at + 15, nullptr, 10);
}

TEST_F(BoxSession, PlaysPausesSeeksSkipsAndPlaysOnToTheEndOfTheList)
{
	// The first file lasts long enough for every key; after the resume the
	// stream comes again over a new connection, and the second file is short.
	std::atomic<int> connections{0};
	eString longFile = clipTimes(6), shortFile = clipTimes(2);
	m_vlc.setStreamSource([&] {
		return std::make_unique<VlcDouble::FixedSource>(++connections == 1 ? longFile : shortFile);
	});

	ProcessResult r = runBox("wait 1500\n"
							 "down\n"
							 "ok            # a.mpg plays\n"
							 "wait 2500\n"
							 "green         # at the end of the list: restart the GUI\n"
							 "wait 5500\n"
							 "yellow        # pause\n"
							 "snapshot paused\n"
							 "wait 1500\n"
							 "yellow        # resume\n"
							 "wait 2500\n"
							 "blue          # seek a minute on\n"
							 "wait 4500\n"
							 "9             # skip mode\n"
							 "wait 4500\n"
							 "blue          # skip to b.mpg\n"
							 "wait 180000   # continuous play ends the run before this wait does\n"
							 "snapshot never\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(12, r.exitStatus) << r.output;
	EXPECT_NE(r.output.find("restarted the GUI"), std::string::npos) << r.output;

	std::vector<eString> steps = webSteps();
	std::vector<eString> wanted = {"browse", "in_play&input=%2fmedia%2ffilms%2fa%2empg", "pl_pause", "pl_pause",
		"seek&val=%2B1m", "pl_stop", "in_play&input=%2fmedia%2ffilms%2fb%2empg"};
	EXPECT_TRUE(inOrder(steps, wanted)) << ::testing::PrintToString(steps);
	EXPECT_EQ(2, std::count_if(steps.begin(), steps.end(), [](const eString &s) { return s.left(7) == "in_play"; }));
	EXPECT_EQ(3, connections.load()) << "a, a again after the resume, b";

	EXPECT_NE(snapshot("paused").find("Stream paused. Press yellow or green to release."), eString::npos);
	EXPECT_NE(r.output.find("[quelt]: end of stream"), std::string::npos);
	// Both files reached the screen: several seconds of 25 frames a second.
	EXPECT_GT(decodedVideoFrames(r.output), 150u) << r.output.substr(r.output.find("[box] decoder"), 120);
}

TEST_F(BoxSession, ARecordingFiveMinutesAheadClosesThePlugin)
{
	write("var/tuxbox/config/enigma/timer.epl",
		eString::format("#SERVICE: 1:0:1:6dca:44d:1:c00000:0:0:0:\n#TIME_BEGIN %ld\n#DURATION 3600\n#TYPE 2\n",
			long(time(nullptr)) + 300));

	ProcessResult r = runBox("wait 3000\n"
							 "snapshot guard\n"
							 "wait 60000\n"
							 "snapshot never\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(0, r.exitStatus) << r.output;
	EXPECT_NE(r.output.find("plugin_exec returned 0"), std::string::npos) << r.output;
	EXPECT_EQ(r.output.find("key script finished"), std::string::npos) << "the plug-in closed before the script ended";
	EXPECT_NE(snapshot("guard").find("A Timerevent will occur within the next 8 mins. The plugin will shutdown NOW!"),
		eString::npos);
}
} // namespace
