#ifndef TIMERGUARD_GUARDCLOCK_H
#define TIMERGUARD_GUARDCLOCK_H

#include <ctime>

// The system clock as the timer guard reads it, in seconds since 1970: time()
// unless a test has put another source in its place to hold the clock still.
// GUI thread only.
time_t guardSystemTime();
// Null puts time() back.
void setGuardTimeSource(time_t (*source)());

#endif
