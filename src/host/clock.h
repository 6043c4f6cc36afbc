#ifndef HOST_CLOCK_H
#define HOST_CLOCK_H

#include <atomic>
#include <cstdint>

// The main loop's time source, in milliseconds. The box runs on the monotonic
// clock; tests run on a virtual clock that the loop moves forward to the next
// timer deadline whenever it has nothing else to do.
class Clock
{
public:
	virtual ~Clock() = default;
	virtual int64_t nowMs() const = 0;
	// A virtual clock never waits: the loop jumps it to the next deadline instead.
	virtual bool isVirtual() const = 0;
	// Moves a virtual clock forward to ms (never backwards); a real clock ignores it.
	virtual void advanceTo(int64_t ms) = 0;
};

class MonotonicClock : public Clock
{
public:
	int64_t nowMs() const override;
	bool isVirtual() const override { return false; }
	void advanceTo(int64_t) override {}
};

class VirtualClock : public Clock
{
public:
	explicit VirtualClock(int64_t startMs = 0) : m_now(startMs) {}
	int64_t nowMs() const override { return m_now.load(); }
	bool isVirtual() const override { return true; }
	void advanceTo(int64_t ms) override;
	void advanceBy(int64_t ms) { advanceTo(m_now.load() + ms); }

private:
	std::atomic<int64_t> m_now;
};

#endif
