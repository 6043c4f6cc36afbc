// Pause and resume of a playing file: VLC, the worker threads and the decoder
// stop together, and the supervision tick after the resume ends the pause.

#include "session/sessionfixture.h"

namespace
{
using namespace sessiontest;

// Waits on the real clock for what the worker threads do by themselves.
bool eventually(const std::function<bool()> &pred)
{
	auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
	while (!pred())
	{
		if (std::chrono::steady_clock::now() > deadline)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(5));
	}
	return true;
}

class PauseTest : public SessionTest
{
protected:
	void SetUp() override
	{
		SessionTest::SetUp();
		serveEndlessStreams();
	}

	// The first file plays on, with the first supervision tick over.
	void startPlaying()
	{
		press({RcKey::down, RcKey::ok});
		EXPECT_EQ(STATUS_STARTED, engine->status.load());
		runFor(1800);
		EXPECT_EQ(STATUS_PLAYING, engine->status.load());
		vlc.clearRequests();
	}

	void pauseAndResume(eQUELT &window);
};

TEST_F(PauseTest, YellowPausesAndTheTickAfterTheResumeEndsThePause)
{
	auto window = openBrowser();
	runInside(*window, [&] { pauseAndResume(*window); });
}

void PauseTest::pauseAndResume(eQUELT &window)
{
	startPlaying();

	press({RcKey::yellow});
	EXPECT_EQ(STATUS_PAUSED, engine->status.load());
	EXPECT_TRUE(window.pauseBox->isVisible());
	EXPECT_EQ("Stream paused. Press yellow or green to release.", window.pauseBox->getMessage());
	EXPECT_EQ(std::vector<eString>{"pl_pause"}, commands());
	EXPECT_TRUE(eventually([this] { return decoderCalls("Pause") == 1; }));

	// The resume asks VLC to play on and fetches the stream anew at once; the
	// pause itself lasts until the next tick.
	int64_t resumedAt = host.clock().nowMs();
	press({RcKey::yellow});
	EXPECT_EQ((std::vector<eString>{"pl_pause", "pl_pause"}), commands());
	EXPECT_EQ(2u, vlc.connections(VlcDouble::Port::stream));
	EXPECT_TRUE(paused);
	EXPECT_EQ(STATUS_PAUSED, engine->status.load());
	EXPECT_TRUE(window.pauseBox->isVisible());

	ASSERT_TRUE(runUntilTrue([] { return !paused; }, 100));
	EXPECT_LE(host.clock().nowMs(), resumedAt + 2000);
	EXPECT_EQ(STATUS_PLAYING, engine->status.load());
	EXPECT_FALSE(window.pauseBox->isVisible());
	EXPECT_TRUE(eventually([this] { return decoderCalls("Resume") == 1; }));

	press({RcKey::exit});
	EXPECT_EQ(STATUS_IDLE, engine->status.load());
	EXPECT_FALSE(pvr.joinable());
	EXPECT_FALSE(window.pauseBox->isVisible());
}

TEST_F(PauseTest, AResumeWhoseStreamIsRefusedEndsInTheErrorBox)
{
	auto window = openBrowser();
	runInside(*window, [&] {
		startPlaying();
		press({RcKey::yellow});
		vlc.setFailure(VlcDouble::Failure::refuse, VlcDouble::Port::stream);

		press({RcKey::green});
		EXPECT_EQ(STATUS_ERROR, engine->status.load());
		ASSERT_TRUE(runUntilTrue([&] { return window->menuVisible; }, 100));
	});

	EXPECT_EQ(std::vector<eString>{"Error"}, watcher->titles());
	EXPECT_EQ(STATUS_IDLE, engine->status.load());
	EXPECT_FALSE(pvr.joinable());
	EXPECT_FALSE(window->pauseBox->isVisible());
}
} // namespace
