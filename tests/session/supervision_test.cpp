// The supervision tick's other ways: a directory or a disc chapter next, the
// delayed start after Exit, and a stream that cannot be started.

#include "session/sessionfixture.h"

namespace
{
using namespace sessiontest;

TEST_F(SessionTest, ADirectoryNextStopsContinuousPlayAndItsTimer)
{
	auto window = openBrowser();
	window->park();
	window->currentIndex = 1;
	window->playList[2].type = ENTRY_DIRECTORY;

	window->timerHandler();

	EXPECT_EQ(2, window->currentIndex);
	EXPECT_TRUE(playedInputs().empty());
	EXPECT_FALSE(window->playTimer->isActive());
	EXPECT_FALSE(window->menuVisible) << "the window stays parked";
}

TEST_F(SessionTest, ANegativeContinuousPlaySettingStartsNothing)
{
	auto window = openBrowser();
	window->park();
	window->currentIndex = 1;
	AUTOPLAY = -1;

	window->timerHandler();

	EXPECT_TRUE(playedInputs().empty());
	EXPECT_FALSE(window->playTimer->isActive());
}

TEST_F(SessionTest, ADiscChapterThatEndedIsNotFollowedByTheNext)
{
	auto window = openBrowser();
	window->park();
	window->listMode = LIST_DVD;
	window->currentIndex = 1;

	window->timerHandler();

	EXPECT_EQ(1, window->currentIndex);
	EXPECT_TRUE(playedInputs().empty());
	EXPECT_TRUE(window->playTimer->isActive()) << "the tick goes on with the engine idle";
	EXPECT_EQ(2000, window->playTimer->interval());
}

TEST_F(SessionTest, TheFirstTickAfterAStartMovesOnToPlaying)
{
	auto window = openBrowser();
	engine->status = STATUS_STARTED;
	window->park();

	window->timerHandler();

	EXPECT_EQ(STATUS_PLAYING, engine->status.load());
	EXPECT_TRUE(window->playTimer->isActive());
	engine->status = STATUS_IDLE;
}

TEST_F(SessionTest, AChoiceWithinFiveSecondsOfExitStartsWhenTheWaitIsOver)
{
	auto window = openBrowser();
	int64_t stoppedAt = 0, startedAt = 0;
	runInside(*window, [&] {
		press({RcKey::down, RcKey::ok});
		ASSERT_EQ(STATUS_STARTED, engine->status.load());

		press({RcKey::exit});
		stoppedAt = host.clock().nowMs();
		EXPECT_TRUE(waitStart);
		EXPECT_TRUE(window->menuVisible);
		EXPECT_EQ(STATUS_IDLE, engine->status.load());
		// The list highlights the entry after the one that played: b, then c.
		press({RcKey::ok, RcKey::down, RcKey::ok});
		EXPECT_EQ(1u, playedInputs().size()) << "nothing starts before the wait is over";
		EXPECT_TRUE(started);

		ASSERT_TRUE(runUntilTrue([] { return !waitStart; }));
		startedAt = host.clock().nowMs();
	});
	EXPECT_EQ(stoppedAt + 5000, startedAt);
	std::vector<eString> inputs = {eQUELT::quote("/media/films/a.mpg"), eQUELT::quote("/media/films/c.mpg")};
	EXPECT_EQ(inputs, playedInputs()) << "the last choice starts, once";
	EXPECT_FALSE(started);
	EXPECT_FALSE(window->menuVisible);
}

TEST_F(SessionTest, AStreamThatFailsThreeTimesEndsInTheErrorBox)
{
	vlc.setFailure(VlcDouble::Failure::refuse, VlcDouble::Port::stream);
	auto window = openBrowser();
	runInside(*window, [&] {
		press({RcKey::down, RcKey::ok});
		EXPECT_EQ(STATUS_ERROR, engine->status.load());
		EXPECT_EQ(3u, playedInputs().size());
		EXPECT_EQ(3u, vlc.connections(VlcDouble::Port::stream));
		EXPECT_EQ(1, window->currentIndex);

		ASSERT_TRUE(runUntilTrue([&] { return window->menuVisible; }));
	});

	ASSERT_EQ(1u, watcher->shown.size());
	const ShownModal &box = watcher->shown[0];
	EXPECT_EQ("Error", box.title);
	EXPECT_EQ("An Error occured while trying to send commands, or receiving the Stream. Please ensure that VLC is "
			  "started on the PC, and that VLC can play the chosen File.",
		box.text);
	EXPECT_EQ(129, box.flags);
	EXPECT_EQ(0, box.timeout);
	EXPECT_EQ(0, window->currentIndex);
	EXPECT_EQ(STATUS_IDLE, engine->status.load());
	EXPECT_FALSE(window->playTimer->isActive());
	EXPECT_EQ(ePoint(75, 75), window->getAbsoluteClientRect().topLeft());
}
} // namespace
