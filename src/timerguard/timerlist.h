#ifndef TIMERGUARD_TIMERLIST_H
#define TIMERGUARD_TIMERLIST_H

#include <vector>

#include "host/estring.h"

// What the guard reads of the receiver's timer list: the begin times, durations
// and types in the order their lines appear (the i-th begin time belongs with the
// i-th duration), and whether an entry was found that the guard cannot judge (a
// repeating timer, or one that carries a last activation).
struct TimerList
{
	static constexpr int maxLines = 256;
	// Characters of a line that are looked at; a longer line ends the reading.
	static constexpr int maxLineLength = 255;
	// Begin times up to this one lie in the first 356 days after 1970; the
	// receiver writes such values only for repeating timers.
	static constexpr int lastRepeatingBegin = 30758399;

	std::vector<int> begins;
	std::vector<int> durations;
	std::vector<int> types;
	bool unjudged = false;
};

// Reads the timer list at hostFile (a host path) and logs what it finds; false
// when the file cannot be opened.
bool readTimerList(const eString &hostFile, TimerList &list);

// The number that stands at position in line: white space skipped, an optional
// sign, then decimal digits up to the first other character; 0 when none follow
// or the line ends before position. Never reads past the line's end; a number
// outside the 32-bit range is held at its limit.
int timerListValue(const eString &line, size_t position);

// Looks at one line of the timer list (its first maxLineLength characters) and
// adds what its markers carry to list.
void scanTimerListLine(const eString &line, TimerList &list);

#endif
