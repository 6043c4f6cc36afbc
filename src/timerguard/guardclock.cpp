#include "timerguard/guardclock.h"

namespace
{
time_t (*timeSource)() = nullptr;
} // namespace

time_t guardSystemTime()
{
	return timeSource ? timeSource() : time(nullptr);
}

void setGuardTimeSource(time_t (*source)())
{
	timeSource = source;
}
