#ifndef INFOBAR_INFOBARTIMES_H
#define INFOBAR_INFOBARTIMES_H

#include "host/estring.h"

// The infobar's arithmetic on VLC's status: whole seconds in, texts and widths out.
// The values come from a peer, so every step is done in 64 bits and nothing
// overflows, whatever VLC reports.
namespace infobartimes
{
// The minutes left of the file as "+N min"; less than 61 seconds left reads "+0 min".
eString remainingText(int length, int time);

// The clock time at which the file will end, "%02d:%02d": the playback start
// plus the length, less the minutes sought forward so far. A length that the
// seeking has used up gives the start time itself.
eString projectedEnd(int length, int seekMinutes, int startHour, int startMin);

// The width of the event bar: the skin's width in whole hundredths, times the
// position in percent; never negative.
int progressWidth(int skinWidth, int position);
} // namespace infobartimes

#endif
