// The status word's conditional change: the GUI thread's supervision moves
// STARTED on to PLAYING, and must not undo an IDLE the feeder thread wrote
// after the supervision looked.

#include <gtest/gtest.h>

#include <thread>

#include "engine/engine.h"
#include "engine/enginestatus.h"

namespace
{
int changes = 0;
void countChange()
{
	++changes;
}

TEST(EngineStatusTest, ChangesOnlyFromTheValueItStillHolds)
{
	changes = 0;
	EngineStatus status(STATUS_STARTED, countChange);
	status = STATUS_IDLE; // the feeder thread ends the stream first
	EXPECT_FALSE(status.change(STATUS_STARTED, STATUS_PLAYING));
	EXPECT_EQ(STATUS_IDLE, status);
	EXPECT_EQ(1, changes) << "a change not made wakes nobody";

	status = STATUS_STARTED;
	std::thread waiter([&] { EXPECT_TRUE(status.waitFor(STATUS_PLAYING, std::chrono::seconds(30))); });
	EXPECT_TRUE(status.change(STATUS_STARTED, STATUS_PLAYING));
	waiter.join();
	EXPECT_EQ(STATUS_PLAYING, status);
	EXPECT_EQ(3, changes);
}
} // namespace
