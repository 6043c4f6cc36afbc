#include "host/mainloop.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace
{
// Aborts the test binary when a test hangs, instead of letting it block forever.
class Watchdog
{
public:
	explicit Watchdog(std::chrono::seconds limit = std::chrono::seconds(60))
	    : m_thread([this, limit] {
		      std::unique_lock<std::mutex> lock(m_mutex);
		      if (!m_wake.wait_for(lock, limit, [this] { return m_finished; }))
		      {
			      fprintf(stderr, "watchdog: the test did not finish, aborting\n");
			      std::abort();
		      }
	      })
	{
	}
	~Watchdog()
	{
		{
			std::lock_guard<std::mutex> lock(m_mutex);
			m_finished = true;
		}
		m_wake.notify_all();
		m_thread.join();
	}

private:
	std::mutex m_mutex;
	std::condition_variable m_wake;
	bool m_finished = false; // -- protected by m_mutex
	std::thread m_thread;
};

class MainloopTest : public ::testing::Test
{
protected:
	MainloopTest() { eApp = &loop; }

	void note(const std::string &what) { events.push_back(what + "@" + std::to_string(loop.nowMs())); }

	// Runs the loop until a timer started now ends it at virtual time ms.
	void runUntil(int64_t ms)
	{
		eTimer stopper(&loop);
		eMainloop::LoopId id = loop.nextLoopId();
		stopper.timeout.connect([this, id] { loop.exitLoop(id, 0); });
		stopper.start(ms - loop.nowMs(), true);
		loop.exec(id);
	}

	Watchdog watchdog;
	std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
	eMainloop loop{clock};
	std::vector<std::string> events;
};

using Events = std::vector<std::string>;

TEST_F(MainloopTest, TimersFireAtTheirVirtualTimesInDeadlineThenStartOrder)
{
	eTimer single(&loop), tie(&loop), repeating(&loop);
	single.timeout.connect([this] { note("single"); });
	tie.timeout.connect([this] { note("tie"); });
	repeating.timeout.connect([this] { note("repeat"); });
	repeating.start(100);
	tie.start(250, true);
	single.start(250, true);
	runUntil(350);
	EXPECT_EQ(events, (Events{"repeat@100", "repeat@200", "tie@250", "single@250", "repeat@300"}));
	EXPECT_FALSE(single.isActive());
	EXPECT_TRUE(repeating.isActive());
	EXPECT_EQ(repeating.deadline(), 400);
}

TEST_F(MainloopTest, RepeatingTimerSkipsTicksMissedInAStall)
{
	eTimer repeating(&loop);
	int fired = 0;
	repeating.timeout.connect([&] { ++fired; });
	repeating.start(100);
	clock->advanceTo(550);
	EXPECT_TRUE(loop.processOneEvent(false));
	EXPECT_FALSE(loop.processOneEvent(false));
	EXPECT_EQ(fired, 1);
	EXPECT_EQ(repeating.deadline(), 600);
	clock->advanceTo(500); // a virtual clock never goes back
	EXPECT_EQ(loop.nowMs(), 550);
}

TEST_F(MainloopTest, TimerStoppedOrRestartedFromItsOwnTimeout)
{
	eTimer stopping(&loop), restarting(&loop), reshaping(&loop);
	int stops = 0, restarts = 0, reshapes = 0;
	stopping.timeout.connect([&] {
		note("stop");
		if (++stops == 3)
			stopping.stop();
	});
	// A zero-delay restart fires again in the next pass, never twice in one.
	restarting.timeout.connect([&] {
		note("restart");
		if (++restarts < 3)
			restarting.start(0, true);
	});
	reshaping.timeout.connect([&] {
		note("reshape");
		if (++reshapes == 1)
			reshaping.start(70, true);
	});
	stopping.start(100);
	restarting.start(250, true);
	reshaping.start(40);
	runUntil(1000);
	EXPECT_EQ(events, (Events{"reshape@40", "stop@100", "reshape@110", "stop@200", "restart@250", "restart@250",
	                          "restart@250", "stop@300"}));
	EXPECT_FALSE(stopping.isActive());
	EXPECT_FALSE(restarting.isActive());
}

TEST_F(MainloopTest, TimerDestroyedInATimeoutOfTheSamePassIsNeverTouched)
{
	auto victim = std::make_unique<eTimer>(&loop);
	auto self = std::make_unique<eTimer>(&loop);
	eTimer killer(&loop);
	killer.timeout.connect([&] {
		note("killer");
		victim.reset();
	});
	victim->timeout.connect([this] { note("victim"); });
	self->timeout.connect([&] {
		note("self");
		self.reset();
	});
	killer.start(100, true);
	victim->start(100, true);
	self->start(100);
	runUntil(500);
	EXPECT_EQ(events, (Events{"killer@100", "self@100"}));
}

TEST_F(MainloopTest, OuterRunEndedDuringAnInnerOneReturnsAfterIt)
{
	eMainloop::LoopId outer = loop.nextLoopId(), inner = loop.nextLoopId();
	eTimer openInner(&loop), closeOuter(&loop), closeInner(&loop);
	int innerResult = 0, depthInside = 0;
	openInner.timeout.connect([&] {
		note("open");
		innerResult = loop.exec(inner);
		note("inner returned");
	});
	closeOuter.timeout.connect([&] {
		note("close outer");
		loop.exitLoop(outer, 1);
	});
	closeInner.timeout.connect([&] {
		depthInside = loop.loopDepth();
		loop.exitLoop(inner, 2);
	});
	openInner.start(100, true);
	closeOuter.start(200, true);
	closeInner.start(300, true);
	EXPECT_EQ(loop.exec(outer), 1);
	note("outer returned");
	EXPECT_EQ(innerResult, 2);
	EXPECT_EQ(depthInside, 2);
	EXPECT_EQ(loop.loopDepth(), 0);
	EXPECT_EQ(events, (Events{"open@100", "close outer@200", "inner returned@300", "outer returned@300"}));
}

TEST_F(MainloopTest, ModalRunEndsAtOnceWhenClosedBeforeExecOrByItsOwnTimer)
{
	eMainloop::LoopId closedEarly = loop.nextLoopId();
	loop.exitLoop(closedEarly, 5);
	EXPECT_EQ(loop.exec(closedEarly), 5);
	EXPECT_EQ(loop.nowMs(), 0);

	// A three-second message box: the virtual clock jumps, nothing waits.
	eTimer timeout; // on eApp
	eMainloop::LoopId modal = loop.nextLoopId();
	timeout.timeout.connect([&] { loop.exitLoop(modal, 7); });
	timeout.start(3000, true);
	EXPECT_EQ(loop.exec(modal), 7);
	EXPECT_EQ(loop.nowMs(), 3000);
	EXPECT_EQ(loop.loopDepth(), 0);
}

TEST_F(MainloopTest, QuitEndsEveryRunAndLeavesTheLoopUsable)
{
	eMainloop::LoopId outer = loop.nextLoopId(), inner = loop.nextLoopId();
	eTimer openInner(&loop), quitter(&loop);
	int innerResult = 0;
	openInner.timeout.connect([&] { innerResult = loop.exec(inner); });
	quitter.timeout.connect([&] { loop.quit(4); });
	openInner.start(100, true);
	quitter.start(200, true);
	EXPECT_EQ(loop.exec(outer), -1);
	EXPECT_EQ(innerResult, -1);
	EXPECT_TRUE(loop.quitRequested());
	EXPECT_EQ(loop.quitCode(), 4);
	EXPECT_EQ(loop.loopDepth(), 0);
	EXPECT_EQ(loop.exec(loop.nextLoopId()), -1);

	bool ran = false;
	loop.post([&] { ran = true; });
	EXPECT_TRUE(loop.processOneEvent(false));
	EXPECT_TRUE(ran);
}

TEST_F(MainloopTest, IdleHooksRunInOrderBeforeTimeMovesOn)
{
	eTimer later(&loop);
	later.timeout.connect([this] { note("timer"); });
	later.start(1000, true);
	int work = 2;
	loop.addIdleHook([&] {
		if (!work)
			return false;
		--work;
		note("first");
		return true;
	});
	eMainloop::IdleHookId second = 0;
	second = loop.addIdleHook([&] {
		note("second");
		loop.removeIdleHook(second);
		loop.addIdleHook([this] {
			note("third");
			return false;
		});
		return false;
	});
	runUntil(2000);
	EXPECT_EQ(events, (Events{"first@0", "first@0", "second@0", "third@0", "timer@1000", "third@1000"}));
}

TEST_F(MainloopTest, WatchOnAPipeSeesDataAndMayRemoveItself)
{
	int fds[2];
	ASSERT_EQ(pipe(fds), 0);
	std::string got;
	eMainloop::WatchId watch = 0;
	watch = loop.addWatch(fds[0], POLLIN, [&](int fd, short revents) {
		char c = 0;
		ASSERT_EQ(read(fd, &c, 1), 1);
		got += c;
		note("read");
		if (c == 'b')
			loop.removeWatch(watch);
	});
	eTimer writer(&loop);
	int written = 0;
	writer.timeout.connect([&] {
		const char c = "abc"[written++];
		ASSERT_EQ(write(fds[1], &c, 1), 1);
	});
	writer.start(100);
	runUntil(350);
	EXPECT_EQ(got, "ab");
	EXPECT_EQ(events, (Events{"read@100", "read@200"}));

	// A watch on a descriptor that is not open is told once and then dropped.
	int closedFd = dup(fds[0]);
	close(closedFd);
	int calls = 0;
	short seen = 0;
	loop.addWatch(closedFd, POLLIN, [&](int, short revents) {
		++calls;
		seen = revents;
	});
	loop.processOneEvent(false);
	loop.processOneEvent(false);
	EXPECT_EQ(calls, 1);
	EXPECT_TRUE(seen & POLLNVAL);
	close(fds[0]);
	close(fds[1]);
}

TEST(MainloopThreads, PostFromWorkersRunsOnTheLoopThreadAndWakesABlockedLoop)
{
	Watchdog watchdog;
	eMainloop real; // monotonic clock, no timers: the loop blocks in poll
	const std::thread::id loopThread = std::this_thread::get_id();
	const int threads = 2, perThread = 500;
	eMainloop::LoopId id = real.nextLoopId();
	int ran = 0;
	bool allOnLoopThread = true;
	std::vector<std::thread> workers;
	// The workers start once the loop has gone idle, so it is asleep or about to be.
	real.addIdleHook([&] {
		if (!workers.empty())
			return false;
		for (int t = 0; t < threads; ++t)
			workers.emplace_back([&] {
				for (int i = 0; i < perThread; ++i)
					real.runInLoop([&] {
						allOnLoopThread = allOnLoopThread && std::this_thread::get_id() == loopThread;
						if (++ran == threads * perThread)
							real.exitLoop(id, 3);
					});
			});
		return false;
	});
	EXPECT_EQ(real.exec(id), 3);
	for (auto &w : workers)
		w.join();
	EXPECT_EQ(ran, threads * perThread);
	EXPECT_TRUE(allOnLoopThread);

	bool inline_ = false;
	real.runInLoop([&] { inline_ = true; });
	EXPECT_TRUE(inline_);
}

TEST(MainloopThreads, ClosuresPendingAtDestructionAreDropped)
{
	auto token = std::make_shared<int>(0);
	{
		eMainloop doomed(std::make_shared<VirtualClock>());
		std::thread([&] { doomed.post([token] { ++*token; }); }).join();
		EXPECT_EQ(token.use_count(), 2);
	}
	EXPECT_EQ(*token, 0);
	EXPECT_EQ(token.use_count(), 1);
}
} // namespace
