// Every window of the plug-in in the real box, as a person opens and closes them
// with the remote control: the settings and the help window while browsing; the
// stream window, the infobar with its logo and the help window while a file
// plays; and the timed info line, which comes up a minute after the start. The
// box runs headless from the staged box root against VLC's double, which serves
// a real transport stream without end. Everything runs on the real clock, so the
// waits leave generous room around the windows they wait for.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/boxrun.h"
#include "support/vlcdouble.h"

namespace fs = std::filesystem;

namespace
{
// What VLC reports while the file plays: 20 of its 60 minutes are over.
const int fileSeconds = 3600;
const int playedSeconds = 1200;
// The clip's own rate is about 153 kB a second; a little more keeps the
// pre-buffer full without letting the double race ahead of the decoder.
const long streamBytesPerSecond = 200000;
// The info line comes a minute after the start and stays six seconds; these
// snapshots look for it from before its earliest to past its latest moment.
const int infoLineLooks = 9;
const int infoLineLookEveryMs = 2000;

eString statusXml()
{
	return eString::format("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n<root>\n"
						   "<volume>256</volume>\n<length>%d</length>\n<time>%d</time>\n<state>playing</state>\n"
						   "<position>33</position>\n<information>\n"
						   "<category name=\"Stream 1\">\n<info name=\"Codec\">mpga</info>\n</category>\n"
						   "<category name=\"Stream 0\">\n<info name=\"Type\">Video</info>\n"
						   "<info name=\"Codec\">mp2v</info>\n<info name=\"Aufl\xc3\xb6sung\">704x576</info>\n"
						   "</category>\n</information>\n</root>\n",
		fileSeconds, playedSeconds);
}

// The clip over and over, as VLC sends a long file; the connection ends only
// when the player leaves.
class EndlessClip : public VlcDouble::ByteSource
{
public:
	explicit EndlessClip(const eString &clip) : m_clip(clip) {}

	size_t read(char *buffer, size_t max) override
	{
		size_t n = std::min(max, m_clip.size() - m_pos);
		std::memcpy(buffer, m_clip.data() + m_pos, n);
		m_pos = (m_pos + n) % m_clip.size();
		return n;
	}

private:
	const eString &m_clip;
	size_t m_pos = 0;
};

// The text of the widget of that name in a snapshot, or nothing when the
// snapshot shows no such widget with a text.
eString widgetText(const eString &snapshot, const char *name)
{
	size_t at = snapshot.find(eString("\"") + name + "\" ");
	if (at == eString::npos)
		return eString();
	eString line = snapshot.mid(at, snapshot.find('\n', at) - at);
	size_t text = line.find(" text=\"");
	return text == eString::npos ? eString() : line.mid(text + 7, line.find('"', text + 7) - text - 7);
}

// Minutes since midnight of an "HH:MM" text; -1 for anything else.
int clockMinutes(const eString &text)
{
	int hour = 0, minute = 0;
	char rest = 0;
	if (text.size() != 5 || text[2] != ':' ||
		std::sscanf(text.c_str(), "%2d:%2d%c", &hour, &minute, &rest) != 2 || hour > 23 || minute > 59)
		return -1;
	return hour * 60 + minute;
}

// Whether a snapshot shows the info line: the receiver's time and the minutes
// VLC has left, "HH:MM -- 40min.", as the text of a widget.
bool showsInfoLine(const eString &snapshot)
{
	const eString tail = eString::format(" -- %dmin.\"", (fileSeconds - playedSeconds) / 60);
	for (size_t at = snapshot.find(tail); at != eString::npos; at = snapshot.find(tail, at + 1))
		if (at >= 12 && snapshot.mid(at - 12, 7) == " text=\"" && clockMinutes(snapshot.mid(at - 5, 5)) >= 0)
			return true;
	return false;
}

class BoxWindows : public ::testing::Test
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

		char tmpl[] = "/tmp/quelt-boxwindows-XXXXXX";
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
							"<setup name=\"File\" pic=\"avi.png\" ext=\"AVI\" Videorate=\"1024\" Videotranscode=\"1\" "
							"Videocodec=\"mpeg2\" Videosize=\"704x576\" Audiorate=\"192\" Audiotranscode=\"1\" fps=\"25\" "
							"soutadd=\"\"/>\n"
							"</vlc>\n",
				m_vlc.webPort(), m_vlc.streamPort()));
		// The smallest pre-buffer, so the clip starts the file at once; the info
		// line on, after the shortest delay there is.
		write("var/tuxbox/config/enigma/config", "i /enigma/plugins/quelt/buffersize 4\n"
												 "i /enigma/plugins/quelt/autoinfo 1\n"
												 "i /enigma/plugins/quelt/infodelay 1\n");
		m_vlc.setBrowse("/media/films", VlcDouble::browseXml({{"directory", "..", "/media/films/..", 0},
											{"file", "a.mpg", "/media/films/a.mpg", 700},
											{"file", "b.avi", "/media/films/b.avi", 700}}));
		m_vlc.setStatusXml(statusXml());
		m_vlc.setStreamSource([this] { return std::make_unique<EndlessClip>(m_clip); });
		m_vlc.setStreamRate(streamBytesPerSecond);
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

	ProcessResult runBox(const eString &script)
	{
		return runHeadlessBox(m_box, m_dir / "root", m_dir, script, m_dir / "shots", 300);
	}

	eString snapshot(const eString &name) const { return readWholeFile(m_dir / "shots" / (name + ".txt")); }

	fs::path m_box, m_dir;
	eString m_clip;
	VlcDouble m_vlc; // after m_clip: its stream sources read the clip until it stops
};

// A window's texts, all on screen in the snapshot taken after it opened and none
// of them in the one taken after it closed.
struct WindowCase
{
	const char *window; // the snapshots are window-open and window-closed
	std::vector<eString> texts;
};

TEST_F(BoxWindows, EveryWindowOpensWithItsTextsAndClosesWhileBrowsingAndWhilePlaying)
{
	// The playing part starts at "ok"; the info line is looked for a minute later.
	eString script = "wait 1500\n"
					 "blue          # settings\n"
					 "wait 1000\n"
					 "snapshot settings-open\n"
					 "exit\n"
					 "wait 1000\n"
					 "snapshot settings-closed\n"
					 "help\n"
					 "wait 1000\n"
					 "snapshot help-open\n"
					 "exit\n"
					 "wait 1000\n"
					 "snapshot help-closed\n"
					 "down\n"
					 "ok            # a.mpg plays\n"
					 "wait 4000\n"
					 "up            # stream window\n"
					 "wait 1000\n"
					 "snapshot stream-open\n"
					 "exit\n"
					 "wait 1000\n"
					 "snapshot stream-closed\n"
					 "ok            # infobar\n"
					 "wait 1000\n"
					 "snapshot infobar-open\n"
					 "ok\n"
					 "wait 1000\n"
					 "snapshot infobar-closed\n"
					 "help\n"
					 "wait 1000\n"
					 "snapshot playinghelp-open\n"
					 "exit\n"
					 "wait 1000\n"
					 "snapshot playinghelp-closed\n";
	// 10 seconds after "ok" so far; the first look comes at 59.
	script += "wait 49000\n";
	for (int look = 0; look < infoLineLooks; ++look)
		script += eString::format("snapshot infoline-%d\nwait %d\n", look, infoLineLookEveryMs);
	script += "wait 8000\n"
			  "snapshot infoline-gone\n";

	ProcessResult r = runBox(script);
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(0, r.exitStatus) << r.output;
	EXPECT_NE(r.output.find("key script finished"), std::string::npos) << "the plug-in ended before the script did";

	const std::vector<eString> help = {"\"Help\"", "\"RC21\"", "\"OK: Show/hide Infobar\"",
		"\"Blue: Enter Settings/Start skipping/seeking forward / VolUp(Streambar)\"",
		"\"9: Activate Skip Mode/disabling SkipMode \"", "\"0: Set Jump value to 1min.\""};
	const WindowCase cases[] = {
		{"settings", {"\"QUELT Settings\"", "\"Buffersize [16%]:\"", "\"Continous Play\"",
						 "\"Interval Infos. Timeinterval\"", "\"Current Server Set:\""}},
		{"help", help},
		{"stream", {"\"StreamInfo\"", "Stream 1:\\ta.mpg\\n\\nFiletype:\\t - MPEG - Layer 1/2",
					   "Stream 2:\\tb.avi\\n\\nFiletype:\\t - DivX / XVID"}},
		{"infobar", {"\"e_now_title\"", "text=\"a.mpg\"", "text=\"b.avi\"", "\"CODEC: mp2v\"", "\"704x576\"",
						"\"+40 min\"", "\"VLC Mode\"", "\"Seek Mode activated\"", "\"REW 1 min.\"", "\"Vol Up\"",
						"pictures/quelt/quelt.png"}},
		{"playinghelp", help},
	};
	for (const WindowCase &c : cases)
	{
		eString open = snapshot(eString(c.window) + "-open");
		eString closed = snapshot(eString(c.window) + "-closed");
		ASSERT_FALSE(open.empty()) << "no snapshot of the open " << c.window << " window\n" << r.output;
		for (const eString &text : c.texts)
		{
			EXPECT_NE(open.find(text), eString::npos) << c.window << " open lacks " << text << "\n" << open;
			EXPECT_EQ(closed.find(text), eString::npos) << c.window << " closed still shows " << text << "\n"
														<< closed;
		}
	}

	// The infobar's times: the start is the receiver's clock when the file
	// began; the projected end lies the file's length later.
	eString infobar = snapshot("infobar-open");
	int started = clockMinutes(widgetText(infobar, "e_now_time"));
	int ends = clockMinutes(widgetText(infobar, "e_next_time"));
	ASSERT_GE(started, 0) << infobar;
	EXPECT_EQ((started + fileSeconds / 60) % (24 * 60), ends) << infobar;

	// No window let the key that closed it through to the main window, where
	// Exit stops the stream: the file was asked for once and played on until
	// the info line asked VLC for its status, long after the last window. The
	// stop at the very end is the plug-in's own, as the script runs out.
	std::vector<std::string> steps;
	for (const eString &target : m_vlc.targets())
		steps.push_back(target);
	auto isPlay = [](const std::string &s) { return s.find("command=in_play") != s.npos; };
	auto isStop = [](const std::string &s) { return s.find("command=pl_stop") != s.npos; };
	EXPECT_EQ(1, std::count_if(steps.begin(), steps.end(), isPlay)) << ::testing::PrintToString(steps);
	auto play = std::find_if(steps.begin(), steps.end(), isPlay);
	auto pastInfoLine = std::find(steps.rbegin(), steps.rend(), "/requests/status.xml").base();
	EXPECT_TRUE(play < pastInfoLine && std::none_of(play, pastInfoLine, isStop)) << ::testing::PrintToString(steps);

	// The info line: the receiver's time and the minutes VLC has left, once,
	// then gone again.
	int shown = 0;
	eString looks;
	for (int look = 0; look < infoLineLooks; ++look)
	{
		eString shot = snapshot(eString::format("infoline-%d", look));
		shown += showsInfoLine(shot) ? 1 : 0;
		looks += shot;
	}
	EXPECT_GT(shown, 0) << "no snapshot shows the info line\n" << looks;
	EXPECT_FALSE(showsInfoLine(snapshot("infoline-gone"))) << snapshot("infoline-gone");
}
} // namespace
