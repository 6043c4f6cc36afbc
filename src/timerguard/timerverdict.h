#ifndef TIMERGUARD_TIMERVERDICT_H
#define TIMERGUARD_TIMERVERDICT_H

#include <ctime>

struct TimerList;

// What the timer list means for the plug-in at one moment.
struct TimerVerdict
{
	enum Kind
	{
		nothingAhead, // no entry begins later and none is running
		later,        // the next entry begins more than closeDistance seconds ahead
		dueSoon,      // the next entry begins within closeDistance seconds
		inProgress,   // an entry is running now
	};
	// Seconds before a recording within which the plug-in gives the decoder back.
	static constexpr long long closeDistance = 480;

	Kind kind = nothingAhead;
	// Seconds from now to the begin of the deciding entry (later, dueSoon).
	long long distance = 0;
	// Seconds until the running entry ends (inProgress).
	long long secondsLeft = 0;
};

// Seconds since 1970 rebuilt from a UTC breakdown, year by year with the
// Gregorian leap rule, as the receiver counts them.
long long timerReferenceTime(const struct tm &utc);

// Decides on the list at reference time now. A running entry decides first;
// otherwise the entry that begins next; entries already over are ignored. When
// several run at once, the one that ends last is reported.
TimerVerdict judgeTimerList(const TimerList &list, long long now);

#endif
