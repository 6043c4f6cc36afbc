#include "infobar/infobartimes.h"

#include <algorithm>
#include <climits>

namespace infobartimes
{
eString remainingText(int length, int time)
{
	long long left = static_cast<long long>(length) - time;
	if (left < 61)
		return "+0 min";
	return eString::format("+%lld min", left / 60);
}

eString projectedEnd(int length, int seekMinutes, int startHour, int startMin)
{
	long long rest = static_cast<long long>(length) - 60LL * seekMinutes;
	long long hours = rest >= 3600 ? rest / 3600 : 0;
	long long minutes = rest > 59 ? (rest - 3600 * hours) / 60 : 0;
	// The minutes stay below 60 and the start minute below 60, so one carry is enough.
	minutes += startMin;
	if (minutes >= 60)
	{
		minutes -= 60;
		hours += 1;
	}
	long long hour = startHour + hours;
	if (hour >= 24)
		hour -= 24;
	return eString::format("%02lld:%02lld", hour, minutes);
}

int progressWidth(int skinWidth, int position)
{
	long long width = static_cast<long long>(skinWidth / 100) * position;
	return static_cast<int>(std::clamp<long long>(width, 0, INT_MAX));
}
} // namespace infobartimes
