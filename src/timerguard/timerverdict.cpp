#include "timerguard/timerverdict.h"

#include "timerguard/timerlist.h"

namespace
{
bool isLeapYear(long year)
{
	return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
} // namespace

long long timerReferenceTime(const struct tm &utc)
{
	long long seconds = 0;
	long year = 1900L + utc.tm_year;
	for (long y = 1970; y < year; ++y)
		seconds += isLeapYear(y) ? 31622400 : 31536000;
	seconds += static_cast<long long>(utc.tm_yday) * 86400 + utc.tm_hour * 3600LL + utc.tm_min * 60LL + utc.tm_sec;
	return seconds;
}

TimerVerdict judgeTimerList(const TimerList &list, long long now)
{
	TimerVerdict verdict;
	bool ahead = false;
	bool running = false;
	long long latestEnd = 0;
	for (size_t i = 0; i < list.begins.size(); ++i)
	{
		long long begin = list.begins[i];
		long long duration = i < list.durations.size() ? list.durations[i] : 0;
		long long distance = begin - now;
		if (begin <= now && now < begin + duration)
		{
			if (!running || begin + duration > latestEnd)
				latestEnd = begin + duration;
			running = true;
		}
		else if (distance > 0 && (!ahead || distance < verdict.distance))
		{
			ahead = true;
			verdict.distance = distance;
		}
	}
	if (running)
	{
		verdict.kind = TimerVerdict::inProgress;
		verdict.distance = 0;
		verdict.secondsLeft = latestEnd - now;
	}
	else if (ahead)
		verdict.kind = verdict.distance <= TimerVerdict::closeDistance ? TimerVerdict::dueSoon : TimerVerdict::later;
	return verdict;
}
