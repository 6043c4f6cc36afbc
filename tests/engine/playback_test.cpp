#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/enginefixture.h"
#include "host/decoder.h"
#include "host/elabel.h"

namespace
{
const eString stopPath = "/requests/status.xml?command=pl_stop";
const eString emptyPath = "/requests/status.xml?command=pl_empty";
const eString pausePath = "/requests/status.xml?command=pl_pause";
constexpr long streamRate = 4 * 1000 * 1000;

class PlaybackTest : public EngineFixture
{
protected:
	void serveEndlessStream(int vpid = 0x64)
	{
		vlc.setStreamRate(streamRate);
		vlc.setStreamSource([vpid] { return std::make_unique<EndlessStream>(vpid, 0xC8); });
	}

	void startEndless()
	{
		serveEndlessStream();
		engine->control("start2", "Movie%2eavi", 0);
		ASSERT_EQ(engine->status.load(), STATUS_STARTED);
		// The main window's supervision moves on to playing.
		engine->status = STATUS_PLAYING;
	}

	// Waits until the worker loops have stood still for a while, and says
	// whether they did; a spinning thread never does.
	bool threadsHold()
	{
		for (int attempt = 0; attempt < 20; ++attempt)
		{
			unsigned long receiverBefore = receiverPasses, feederBefore = feederPasses;
			std::this_thread::sleep_for(std::chrono::milliseconds(150));
			if (receiverPasses == receiverBefore && feederPasses == feederBefore)
				return true;
		}
		return false;
	}

	size_t decoderCalls(const std::string &call)
	{
		std::vector<std::string> history = Decoder::history();
		return size_t(std::count(history.begin(), history.end(), call));
	}
};

struct EndCase
{
	const char *what;
	const char *mrl;
	eString payload;
	bool device; // /dev/pvr can be opened
	bool senderStalls;
};

TEST_F(PlaybackTest, TheEndOfTheStreamLeadsToIdle)
{
	const EndCase cases[] = {
		{"video, the sender closes", "Movie%2eavi", tsStream(9000), true, false},
		{"pure audio, the sender closes", "Song%2emp3", tsStream(3000, -1, 0xC8), true, false},
		{"video, the sender stalls", "Movie%2eavi", tsStream(7000), true, true},
		{"no /dev/pvr", "Movie%2eavi", tsStream(7000), false, false},
	};
	for (const EndCase &c : cases)
	{
		SCOPED_TRACE(c.what);
		if (c.device)
			host.writeFile("/dev/pvr", "");
		else
			host.removeFile("/dev/pvr");
		vlc.setStreamData(served(c.payload));
		vlc.setStreamHoldAfter(c.senderStalls ? droppedWithHead() + c.payload.size() : 0);
		vlc.clearRequests();
		Decoder::clearHistory();
		host.clearLog();

		engine->control("start2", c.mrl, 0);
		ASSERT_TRUE(waitForStatus(STATUS_IDLE)) << engine->status.load();
		// The ended feeder stays to be collected, as the next start does.
		EXPECT_TRUE(pvr.joinable());
		killThreads_stream();
		expectCollected();

		// The end path: the feeder's clean-up has ended the receiver, emptied
		// VLC's play list and reset the box side.
		EXPECT_EQ(host.logCount("[quelt]: end of stream"), 1u);
		std::vector<eString> targets = vlc.targets(VlcDouble::Port::web);
		ASSERT_FALSE(targets.empty());
		EXPECT_EQ(targets.back(), emptyPath);
		EXPECT_EQ(Decoder::history().back(), "Flush");
		EXPECT_FALSE(audioOnly);
		EXPECT_EQ(host.logCount("[quelt]: leaving vdc"), eString(c.mrl) == "Song%2emp3" ? 1u : 0u);
		EXPECT_EQ(tsBuffer_Stream.size(), 0);
		if (c.device)
		{
			EXPECT_TRUE(readPvrFile() == c.payload) << readPvrFile().size() << " of " << c.payload.size();
		}

		// The progress display goes on the GUI thread.
		EXPECT_NE(epT, nullptr);
		runPosted();
		EXPECT_EQ(epT, nullptr);
		EXPECT_EQ(s_stat, nullptr);
	}
}

TEST_F(PlaybackTest, StopEndsRunningThreads)
{
	startEndless();
	vlc.clearRequests();
	engine->control("stop", "nofile", 1);
	EXPECT_EQ(engine->status.load(), STATUS_IDLE);
	EXPECT_EQ(vlc.targets(VlcDouble::Port::web), (std::vector<eString>{emptyPath, stopPath, emptyPath, emptyPath}));
	expectCollected();
	EXPECT_EQ(epT, nullptr);
	EXPECT_EQ(s_stat, nullptr);
	EXPECT_EQ(tsBuffer_Stream.size(), 0);
}

TEST_F(PlaybackTest, PauseHoldsBothThreadsAndStopStillWorks)
{
	host.writeFile("/dev/pvr", "");
	startEndless();
	Decoder::clearHistory();
	ASSERT_TRUE(waitUntil([] { return feederPasses > 10; }));

	engine->status = STATUS_PAUSED;
	ASSERT_TRUE(waitUntil([] { return Decoder::isPaused(); }));
	EXPECT_TRUE(threadsHold());
	int held = 0;
	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		held = tsBuffer_Stream.size();
	}
	size_t written = pvrFileSize();
	std::this_thread::sleep_for(std::chrono::milliseconds(300));
	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		EXPECT_EQ(tsBuffer_Stream.size(), held);
	}
	EXPECT_EQ(pvrFileSize(), written);
	EXPECT_EQ(decoderCalls("Pause"), 1u);
	EXPECT_EQ(decoderCalls("Resume"), 0u);

	// The supervision ends the pause; both threads go on.
	engine->status = STATUS_PLAYING;
	unsigned long feeder = feederPasses;
	EXPECT_TRUE(waitUntil([&] { return pvrFileSize() > written && feederPasses > feeder; }));
	EXPECT_EQ(decoderCalls("Pause"), 1u);
	EXPECT_EQ(decoderCalls("Resume"), 1u);

	// A stop from a pause ends the threads without the feeder's reset.
	engine->status = STATUS_PAUSED;
	ASSERT_TRUE(waitUntil([] { return Decoder::isPaused(); }));
	vlc.clearRequests();
	engine->control("stop", "nofile", 1);
	EXPECT_EQ(engine->status.load(), STATUS_IDLE);
	EXPECT_EQ(vlc.targets(VlcDouble::Port::web), (std::vector<eString>{stopPath, emptyPath, emptyPath}));
	expectCollected();
	EXPECT_EQ(epT, nullptr);
}

TEST_F(PlaybackTest, AResumeFollowsTheNewConnection)
{
	host.writeFile("/dev/pvr", "");
	std::atomic<int> connection{0};
	vlc.setStreamRate(streamRate);
	// The second connection carries its video on another PID, to tell it apart.
	vlc.setStreamSource([&connection] {
		return std::make_unique<EndlessStream>(connection++ == 0 ? 0x64 : 0x65, 0xC8);
	});
	engine->control("start2", "Movie%2eavi", 0);
	ASSERT_EQ(engine->status.load(), STATUS_STARTED);
	engine->status = STATUS_PAUSED;
	ASSERT_TRUE(waitUntil([] { return Decoder::isPaused(); }));
	EXPECT_TRUE(threadsHold());

	vlc.clearRequests();
	engine->control("play", "nofile", 1);
	EXPECT_EQ(vlc.targets(VlcDouble::Port::web), std::vector<eString>{pausePath});
	EXPECT_EQ(vlc.connections(VlcDouble::Port::stream), 2u);
	EXPECT_NE(engine->status.load(), STATUS_ERROR);
	// Still paused: nothing moves until the supervision ends the pause.
	EXPECT_TRUE(threadsHold());

	size_t before = pvrFileSize();
	engine->status = STATUS_PLAYING;
	const eString newVideo("\x47\x00\x65", 3);
	EXPECT_TRUE(waitUntil([&] { return readPvrFile(before).find(newVideo) != eString::npos; }));
}

TEST_F(PlaybackTest, AFailedResumeIsAnError)
{
	startEndless();
	engine->status = STATUS_PAUSED;
	vlc.setFailure(VlcDouble::Failure::refuse, VlcDouble::Port::stream);
	engine->control("play", "nofile", 1);
	EXPECT_EQ(engine->status.load(), STATUS_ERROR);
	EXPECT_EQ(streamFd.load(), -1);
	// The main window answers an error with "terminate".
	engine->control("terminate", "nofile", 1);
	EXPECT_EQ(engine->status.load(), STATUS_IDLE);
	expectCollected();
}

TEST_F(PlaybackTest, AStartWhileStreamingCollectsTheRunningThreads)
{
	startEndless();
	vlc.clearRequests();
	engine->control("start2", "Movie%2eavi", 0);
	EXPECT_EQ(engine->status.load(), STATUS_STARTED);
	EXPECT_EQ(vlc.connections(VlcDouble::Port::stream), 2u);
	ASSERT_NE(epT, nullptr);
}
} // namespace
