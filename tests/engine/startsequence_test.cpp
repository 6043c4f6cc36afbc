#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "config/configkeys.h"
#include "engine/enginefixture.h"
#include "host/decoder.h"
#include "host/econfig.h"
#include "host/elabel.h"
#include "host/eprogress.h"
#include "host/eservice.h"
#include "host/ewidget.h"

namespace
{
const eString stopPath = "/requests/status.xml?command=pl_stop";
const eString emptyPath = "/requests/status.xml?command=pl_empty";
const char *const barPicture = "/var/tuxbox/config/enigma/pictures/quelt/v_progress.png";
// Fast enough to pre-buffer in a moment, slow enough to run for a while.
constexpr long streamRate = 4 * 1000 * 1000;

class StartSequenceTest : public EngineFixture
{
protected:
	eString soutPath(const eString &mrl)
	{
		return "/" + engine->sout_stream(mrl);
	}

	void serveEndlessStream()
	{
		vlc.setStreamRate(streamRate);
		vlc.setStreamSource([] { return std::make_unique<EndlessStream>(0x64, 0xC8); });
	}

	// The percentages the display showed, each once, in order.
	void recordProgress()
	{
		eWidget::setRepaintHook([this](eWidget *w) {
			if (w && w == epT && (progress.empty() || progress.back() != epT->getText()))
				progress.push_back(epT->getText());
		});
	}

	std::vector<eString> progress;
};

struct StartCase
{
	const char *word;
	int minutes;
	bool picture;
};

TEST_F(StartSequenceTest, StartsTheStreamAndShowsTheProgress)
{
	const StartCase cases[] = {{"start2", 0, true}, {"start3", 12, true}, {"start2", 0, false}};
	for (const StartCase &c : cases)
	{
		SCOPED_TRACE(eString::format("%s %d, picture %d", c.word, c.minutes, c.picture));
		if (c.picture)
			host.writeFile(barPicture, pngFile(250, 20));
		else
			host.removeFile(barPicture);
		serveEndlessStream();
		vlc.clearRequests();
		Decoder::clearHistory();
		eServiceInterface::getInstance()->running = true;
		progress.clear();
		recordProgress();

		engine->control(c.word, "Movie%2eavi", c.minutes);

		EXPECT_EQ(engine->status.load(), STATUS_STARTED);
		EXPECT_EQ(retryC.load(), 0);
		std::vector<eString> expected = {stopPath, emptyPath, soutPath("Movie%2eavi")};
		if (c.minutes)
			expected.push_back(eString::format("/requests/status.xml?command=seek&val=%%2B%dm", c.minutes));
		EXPECT_EQ(vlc.targets(VlcDouble::Port::web), expected);
		EXPECT_EQ(vlc.targets(VlcDouble::Port::stream), std::vector<eString>{"/dboxstream"});
		EXPECT_EQ(Decoder::history(),
			(std::vector<std::string>{"flushClipBuffer", "flushBuffer", "Flush", "Set 100 200 0"}));
		EXPECT_FALSE(eServiceInterface::getInstance()->running);
		EXPECT_TRUE(host.logContains("[quelt]: audiopid: 200"));

		// 0 to 6 before the stream, 8 and up while pre-buffering, then the hand-off.
		ASSERT_GE(progress.size(), 10u);
		EXPECT_EQ(std::vector<eString>(progress.begin(), progress.begin() + 5),
			(std::vector<eString>{"00%", "02%", "04%", "06%", "08%"}));
		EXPECT_EQ(std::vector<eString>(progress.end() - 4, progress.end()),
			(std::vector<eString>{"94%", "95%", "98%", "100%"}));
		// Pre-buffering grows to the target; its last block may overshoot it.
		for (size_t i = 5; i < progress.size() - 4; ++i)
			EXPECT_LT(atoi(progress[i - 1].c_str()), atoi(progress[i].c_str())) << progress[i];
		EXPECT_GE(atoi(progress[progress.size() - 5].c_str()), 100);

		// The display is hidden once the stream runs.
		ASSERT_NE(epT, nullptr);
		EXPECT_FALSE(epT->isVisible());
		EXPECT_EQ(s_statp != nullptr, c.picture);
		if (c.picture)
		{
			EXPECT_FALSE(v_progress->isVisible());
			EXPECT_FALSE(s_stat->isVisible());
			EXPECT_EQ(v_progress->getPosition(), ePoint(380, 500));
			EXPECT_EQ(v_progress->getSize(), eSize(200, 20));
			EXPECT_EQ(s_stat->getPosition(), ePoint(374, 497));
			EXPECT_EQ(s_stat->getSize(), eSize(237, 26));
		}
		EXPECT_EQ(epT->getPosition(), ePoint(320, 460));
		EXPECT_EQ(epT->getSize(), eSize(60, 30));

		eWidget::setRepaintHook(nullptr);
		engine->control("stop", "nofile", 1);
		expectCollected();
	}
}

TEST_F(StartSequenceTest, AFailedStartIsTriedThreeTimesInAll)
{
	vlc.setFailure(VlcDouble::Failure::refuse, VlcDouble::Port::stream);
	engine->control("start3", "Movie%2eavi", 5);

	EXPECT_EQ(engine->status.load(), STATUS_ERROR);
	EXPECT_EQ(retryC.load(), 0);
	std::vector<eString> attempt = {stopPath, emptyPath, soutPath("Movie%2eavi"),
		"/requests/status.xml?command=seek&val=%2B5m"};
	std::vector<eString> expected;
	for (int i = 0; i < 3; ++i)
		expected.insert(expected.end(), attempt.begin(), attempt.end());
	EXPECT_EQ(vlc.targets(VlcDouble::Port::web), expected);
	EXPECT_EQ(vlc.connections(VlcDouble::Port::stream), 3u);
	expectCollected();
	EXPECT_TRUE(Decoder::history().empty());
	// The last attempt's display stays for the main window's error path; the
	// earlier ones are gone.
	ASSERT_NE(epT, nullptr);
	EXPECT_TRUE(epT->isVisible());
}

TEST_F(StartSequenceTest, ASecondAttemptThatWorksEndsStarted)
{
	// The first connection brings too little and ends; the next one streams.
	std::atomic<int> connection{0};
	vlc.setStreamRate(streamRate);
	vlc.setStreamSource([&connection]() -> std::unique_ptr<VlcDouble::ByteSource> {
		if (connection++ == 0)
			return std::make_unique<BytesSource>(served(tsStream(100)));
		return std::make_unique<EndlessStream>(0x64, 0xC8);
	});
	engine->control("start2", "Movie%2eavi", 0);

	EXPECT_EQ(engine->status.load(), STATUS_STARTED);
	EXPECT_EQ(retryC.load(), 0);
	EXPECT_EQ(host.logCount("[quelt]: too little data for a start"), 1u);
	std::vector<eString> attempt = {stopPath, emptyPath, soutPath("Movie%2eavi")};
	std::vector<eString> expected = attempt;
	expected.insert(expected.end(), attempt.begin(), attempt.end());
	EXPECT_EQ(vlc.targets(VlcDouble::Port::web), expected);
	EXPECT_EQ(vlc.connections(VlcDouble::Port::stream), 2u);
}

struct PlayStreamCase
{
	const char *what;
	const char *mrl;
	eString payload; // after the bytes dropped with the answer head
	VlcDouble::Failure failure;
	int result;
};

TEST_F(StartSequenceTest, PlayStreamResults)
{
	const int half = 2 * videoBlockSize; // of the 4-block target
	const int audioHalf = videoBlockSize / 4;
	const eString video = tsStream(half / 188);
	const eString audio = tsStream(audioHalf / 188, -1, 0xC8);
	const PlayStreamCase cases[] = {
		{"exactly half the target", "Movie%2eavi", video, VlcDouble::Failure::none, 0},
		{"one byte less", "Movie%2eavi", video.left(video.size() - 1), VlcDouble::Failure::none, -4},
		{"pure audio: half its own target", "Song%2emp3", audio, VlcDouble::Failure::none, 0},
		{"pure audio: one byte less", "Song%2emp3", audio.left(audio.size() - 1), VlcDouble::Failure::none, -4},
		{"pure audio with video in it", "Song%2emp3", video, VlcDouble::Failure::none, 0},
		{"audio only for a video input", "Movie%2eavi", tsStream(half / 188, -1, 0xC8), VlcDouble::Failure::none,
			-5},
		{"no audio", "Movie%2eavi", tsStream(half / 188, 0x64, -1), VlcDouble::Failure::none, -5},
		{"garbage", "Movie%2eavi", eString(size_t(half), char(0x12)), VlcDouble::Failure::none, -5},
		{"nothing", "Movie%2eavi", eString(), VlcDouble::Failure::none, -4},
		{"port refuses", "Movie%2eavi", video, VlcDouble::Failure::refuse, -1},
		{"answer is garbage", "Movie%2eavi", video, VlcDouble::Failure::garbage, -1},
		{"no answer", "Movie%2eavi", video, VlcDouble::Failure::stall, -1},
		{"half an answer, then the end", "Movie%2eavi", video, VlcDouble::Failure::closeEarly, -4},
	};
	for (const PlayStreamCase &c : cases)
	{
		SCOPED_TRACE(c.what);
		vlc.setStreamData(served(c.payload));
		vlc.setFailure(c.failure, VlcDouble::Port::stream);
		Decoder::clearHistory();
		engine->control("start", c.mrl, 1);
		EXPECT_EQ(engine->playStream(c.mrl), c.result);
		if (c.result == 0)
		{
			EXPECT_EQ(engine->status.load(), STATUS_STARTED);
			EXPECT_TRUE(pvr.joinable());
		}
		else
		{
			EXPECT_EQ(streamFd.load(), -1);
			EXPECT_FALSE(pvr.joinable());
			EXPECT_TRUE(Decoder::history().empty());
		}
		engine->control("stop", "nofile", 1);
		expectCollected();
	}
	// No answer on the web port for a missing stream source: a 404.
	vlc.setFailure(VlcDouble::Failure::none, VlcDouble::Port::stream);
	vlc.setStreamSource(nullptr);
	EXPECT_EQ(engine->playStream("Movie%2eavi"), -1);
}

TEST_F(StartSequenceTest, PureAudioHandsOnlyTheAudioPidToTheDecoder)
{
	Decoder::parms.vpid = 0x99;
	vlc.setStreamRate(streamRate);
	vlc.setStreamSource([] { return std::make_unique<EndlessStream>(-1, 0xC8); });
	engine->control("start2", "Song%2emp3", 0);
	EXPECT_EQ(engine->status.load(), STATUS_STARTED);
	EXPECT_FALSE(isStream);
	EXPECT_TRUE(audioOnly);
	// Half a video block is the target whatever the buffer setting.
	EXPECT_EQ(INITIALBUFFER.load(), videoBlockSize / 2);
	EXPECT_EQ(Decoder::history().back(), "Set 153 200 0");
}

TEST_F(StartSequenceTest, AnAc3StreamSetsTheAudioType)
{
	vlc.setStreamData(served(tsStream(6000, 0x64, 0xC8, 0xBD)));
	engine->control("start2", "dvdsimple:D:%401:2", 0);
	EXPECT_EQ(engine->status.load(), STATUS_STARTED);
	EXPECT_EQ(Decoder::history().back(), "Set 100 200 3");
}

TEST_F(StartSequenceTest, AudioTypeRule)
{
	const struct
	{
		const char *mrl;
		int ac3, key, type;
	} cases[] = {
		{"film%2eavi", 0, 0, 0},
		{"film%2eavi", -1, 0, 0},
		{"film%2eavi", 1, 0, 1},
		{"film%2evob", 1, 0, 3},
		{"DVD%2eVOB", 1, 0, 1},
		{"dvdsimple:D:%401:1", 1, 0, 3},
		{"film%2eavi", 0, 1, 1},
		{"dvdsimple:D:%401:1", 0, 1, 3},
		{"vob", 1, 0, 3},
		{"dv", 1, 0, 1},
		{"", 0, 7, 1},
	};
	for (const auto &c : cases)
	{
		SCOPED_TRACE(eString::format("%s ac3 %d key %d", c.mrl, c.ac3, c.key));
		EXPECT_EQ(eQUELTEngine::audioType(c.mrl, c.ac3, c.key), c.type);
	}
}

TEST_F(StartSequenceTest, TheReceiversAc3PreferenceIsRead)
{
	eConfig::getInstance()->setKey(configkey::ac3default, 1);
	vlc.setStreamData(served(tsStream(6000)));
	engine->control("start2", "Movie%2eavi", 0);
	EXPECT_EQ(engine->status.load(), STATUS_STARTED);
	EXPECT_EQ(Decoder::history().back(), "Set 100 200 1");
}
} // namespace
