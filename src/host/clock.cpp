#include "host/clock.h"

#include <time.h>

int64_t MonotonicClock::nowMs() const
{
	timespec ts{};
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void VirtualClock::advanceTo(int64_t ms)
{
	// A compare-and-swap loop keeps the clock monotonic even when a test thread
	// moves it while the loop does; a smaller target is simply ignored.
	int64_t current = m_now.load();
	while (ms > current && !m_now.compare_exchange_weak(current, ms))
	{
	}
}
