#ifndef INFOBAR_RECEIVERTIME_H
#define INFOBAR_RECEIVERTIME_H

#include <ctime>

// The receiver's clock as the viewer reads it: the system time corrected by the
// DVB core's time difference, broken down in local time.
struct tm receiverLocalTime();

#endif
