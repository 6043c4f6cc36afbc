// Browsing and playing against each VLC: the keys a viewer presses, what VLC
// was asked to do or was seen doing, what the decoder played and what the
// screen showed.

#include <algorithm>
#include <atomic>

#include "e2e/endtoend.h"

namespace
{
size_t occurrences(const std::string &text, const std::string &what)
{
	size_t n = 0;
	for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
		++n;
	return n;
}

// The recorded stream over and over, paced as VLC sends a long file, until the
// double is told to stop (or to play something else): then the stream ends,
// as VLC ends it.
class UntilStopped : public VlcDouble::ByteSource
{
public:
	UntilStopped(const VlcDouble &vlc, const std::string &clip)
		: m_vlc(vlc), m_clip(clip), m_known(vlc.targets().size())
	{
	}

	size_t read(char *buffer, size_t max) override
	{
		std::vector<eString> targets = m_vlc.targets();
		for (size_t i = m_known; i < targets.size(); ++i)
			if (targets[i].find("command=pl_stop") != eString::npos ||
				targets[i].find("command=in_play") != eString::npos)
				return 0;
		size_t n = std::min(max, m_clip.size() - m_pos);
		std::copy_n(m_clip.data() + m_pos, n, buffer);
		m_pos = (m_pos + n) % m_clip.size();
		return n;
	}

private:
	const VlcDouble &m_vlc;
	std::string m_clip;
	size_t m_known;
	size_t m_pos = 0;
};

TEST_P(EndToEnd, BrowsesAndPlaysOnToTheEndOfTheList)
{
	watchVlc();
	ProcessResult r = runBox("wait 2500\n"
							 "snapshot browse\n"
							 "down\n"
							 "down\n"
							 "down\n"
							 "down          # Clip One.mpg\n"
							 "ok            # plays, then film.avi and song.mp3\n"
							 "wait 2500\n"
							 "green         # at the end of the list: restart the GUI\n"
							 "wait 150000   # continuous play ends the run before this wait does\n"
							 "snapshot never\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(12, r.exitStatus) << r.output;
	EXPECT_NE(r.output.find("the plug-in restarted the GUI"), std::string::npos) << r.output;

	std::string browse = snapshot("browse");
	EXPECT_NE(browse.find("text=\"File: " + media().string() + "\""), std::string::npos) << browse;
	for (const char *name : {"Long", "Series", "Trouble", "Clip One.mpg", "film.avi", "song.mp3"})
		EXPECT_NE(browse.find(std::string("\"") + name + "\""), std::string::npos) << name << " in\n" << browse;

	EXPECT_EQ((std::vector<std::string>{"Clip One.mpg", "film.avi", "song.mp3"}), playedFiles());
	// VLC's transcoded stream carries its audio on PID 0xC8 and its video on
	// 0x64; each start found them, and the decoder, which plays only the PIDs
	// it was given, decoded both.
	EXPECT_EQ(3u, occurrences(r.output, "[quelt]: audiopid: 200")) << r.output;
	EXPECT_EQ(std::string::npos, r.output.find("[box] decoder: PID")) << r.output;
	EXPECT_GT(decodedVideoFrames(r.output), 100u) << r.output;
	EXPECT_GT(decodedAudioFrames(r.output), 100u) << r.output;
}

TEST_P(EndToEnd, ShowsTheInfobarPausesSeeksAndSkips)
{
	if (m_double)
	{
		m_double->setStreamSource([this] { return std::make_unique<UntilStopped>(*m_double, m_clip); });
		// About the rate of VLC's transcoded stream.
		m_double->setStreamRate(160000);
		m_double->setStatusXml("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n<root>\n"
							   "<volume>256</volume>\n<length>120</length>\n<time>20</time>\n"
							   "<state>playing</state>\n<position>16</position>\n<information>\n"
							   "<category name=\"Stream 0\">\n<info name=\"Type\">Video</info>\n"
							   "<info name=\"Codec\">mp4v</info>\n<info name=\"Aufl\xc3\xb6sung\">192x144</info>\n"
							   "</category>\n</information>\n</root>\n");
	}
	watchVlc();
	ProcessResult r = runBox("wait 2500\n"
							 "down\n"
							 "ok            # into Long\n"
							 "wait 2500\n"
							 "down\n"
							 "ok            # lecture1.avi plays\n"
							 "wait 3000\n"
							 "ok            # the infobar\n"
							 "wait 3000\n"
							 "snapshot infobar\n"
							 "ok\n"
							 "wait 2000\n"
							 "yellow        # pause\n"
							 "wait 1000\n"
							 "snapshot paused\n"
							 "wait 3000\n"
							 "yellow        # resume\n"
							 "wait 6000\n"
							 "blue          # seek a minute on\n"
							 "wait 6000\n"
							 "9             # skip mode\n"
							 "wait 4500\n"
							 "blue          # skip to lecture2.avi, which starts once the first has played out\n"
							 "wait 40000\n"
							 "quit\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(0, r.exitStatus) << r.output;

	// The infobar shows what VLC's status says of the input.
	std::string infobar = snapshot("infobar");
	EXPECT_NE(infobar.find("\"pro_name\" 30,468 140x24 text=\"CODEC: mp4v\""), std::string::npos) << infobar;
	EXPECT_NE(infobar.find("\"videoformat\" 30,492 140x24 text=\"192x144\""), std::string::npos) << infobar;
	EXPECT_NE(infobar.find("text=\"lecture1.avi\""), std::string::npos) << infobar;
	EXPECT_NE(snapshot("paused").find("Stream paused. Press yellow or green to release."), std::string::npos);

	if (m_double)
	{
		std::vector<std::string> steps = doubleSteps();
		EXPECT_TRUE(inOrder(steps, {"in_play lecture1.avi", "pl_pause", "pl_pause", "seek&val=%2B1m", "pl_stop",
									   "in_play lecture2.avi"}))
			<< ::testing::PrintToString(steps);
	}
	else
	{
		// What the requests did to VLC: it paused and played on, it jumped a
		// minute on, and it stopped the first lecture for the second.
		std::vector<StatusSample> samples = m_watch->samples();
		auto at = [&](auto from, auto wanted) { return std::find_if(from, samples.end(), wanted); };
		auto paused = at(samples.begin(), [](const StatusSample &s) { return s.state == "paused"; });
		auto resumed = at(paused, [](const StatusSample &s) { return s.state == "playing"; });
		auto sought = at(resumed, [](const StatusSample &s) { return s.file == "lecture1.avi" && s.time >= 60; });
		auto second = at(sought, [](const StatusSample &s) { return s.file == "lecture2.avi"; });
		EXPECT_NE(samples.end(), paused);
		EXPECT_NE(samples.end(), resumed);
		EXPECT_NE(samples.end(), sought);
		EXPECT_NE(samples.end(), second) << r.output;
	}
	EXPECT_EQ((std::vector<std::string>{"lecture1.avi", "lecture2.avi"}), playedFiles());
	EXPECT_GT(decodedVideoFrames(r.output), 100u) << r.output;
}

TEST_P(EndToEnd, AWrongPasswordShowsTheNoConnectionList)
{
	if (realVlc())
		writeSettings(media(), "wrong");
	else
		m_double->setStatusCode(401);
	ProcessResult r = runBox("wait 2500\n"
							 "snapshot refused\n"
							 "exit\n"
							 "wait 1500\n"
							 "exit\n"
							 "wait 30000\n"
							 "snapshot never\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(0, r.exitStatus) << r.output;
	EXPECT_NE(r.output.find("plugin_exec returned 0"), std::string::npos) << r.output;
	std::string refused = snapshot("refused");
	EXPECT_NE(refused.find("text=\"QUELT: NO CONNECTION TO VLC - PLEASE CHECK\""), std::string::npos) << refused;
	EXPECT_EQ(21u, occurrences(refused, "\"NO CONNECTION TO VLC SERVER AVAILABLE\"")) << refused;
}

INSTANTIATE_TEST_SUITE_P(Backends, EndToEnd, ::testing::Values(Backend::vlc3, Backend::classicDouble), backendName);
} // namespace
