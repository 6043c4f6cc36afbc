// Reading the receiver's timer list, the reference time and the verdict.

#include <gtest/gtest.h>

#include <ctime>

#include "host/paths.h"
#include "support/hostfixture.h"
#include "timerguard/timerlist.h"
#include "timerguard/timerverdict.h"

namespace
{
TEST(TimerReferenceTime, RebuildsTheSecondsSince1970FromTheUtcBreakdown)
{
	// Leap days, a century that is no leap year, the year 2000 that is one, and
	// a time past the 32-bit limit.
	const time_t times[] = {0, 86399, 68169599, 951782400, 951868800, 978307199, 1709251199, 4107542400LL,
		4102444800LL};
	for (time_t t : times)
	{
		struct tm utc = {};
		gmtime_r(&t, &utc);
		EXPECT_EQ(static_cast<long long>(t), timerReferenceTime(utc)) << t;
	}
}

TEST(TimerListValue, ReadsTheNumberAtItsPlaceAndNeverPastTheLine)
{
	struct Case
	{
		const char *line;
		size_t position;
		int value;
	} cases[] = {
		{"#TIME_BEGIN 1234567890\n", 12, 1234567890},
		{"#TIME_BEGIN    42x7\n", 12, 42},
		{"#DURATION -300\n", 10, -300},
		{"#TYPE +5", 6, 5},
		{"#TYPE abc\n", 6, 0},
		{"#TYPE", 6, 0},
		{"#TYPE ", 6, 0},
		{"#TYPE\n", 6, 0},
		{"#DURATION 99999999999999999999", 10, 2147483647},
		{"#DURATION -99999999999999999999", 10, -2147483647 - 1},
		// A marker further in: the value still comes from the fixed place, where
		// the marker's own letters stand.
		{"xx #TYPE 7", 6, 0},
		{"x#TYPE 7", 6, 7},
	};
	for (const Case &c : cases)
		EXPECT_EQ(c.value, timerListValue(c.line, c.position)) << c.line;
}

struct ScanCase
{
	const char *name;
	eString text;
	std::vector<int> begins, durations, types;
	bool unjudged;
};

TEST(TimerListScan, TakesTheMarkedLinesInFileOrder)
{
	eString longLine = "#TYPE 4" + eString(300, ' ') + "\n";
	eString manyLines;
	for (int i = 0; i < 256; ++i)
		manyLines += "#DURATION 1\n";
	const ScanCase cases[] = {
		{"empty", "", {}, {}, {}, false},
		{"oneEntry", "#TIME_BEGIN 1700000000\n#DURATION 3600\n#TYPE 2\n#DESCRIPTION x\n", {1700000000}, {3600}, {2},
			false},
		{"noFinalLineEnd", "#TIME_BEGIN 1700000000", {1700000000}, {}, {}, false},
		{"lastActivation", "#LAST_ACTIVATION 17\n#TIME_BEGIN 1700000000\n", {1700000000}, {}, {}, true},
		{"repeatingBoundary", "#TIME_BEGIN 30758399\n", {30758399}, {}, {}, true},
		{"pastTheBoundary", "#TIME_BEGIN 30758400\n", {30758400}, {}, {}, false},
		{"markerWithoutValue", "#TIME_BEGIN\n", {0}, {}, {}, true},
		{"allMarkersInOneLine", "#TYPE #DURATION #TIME_BEGIN", {0}, {0}, {0}, true},
		{"anOverlongLineEndsTheReading", longLine + "#TYPE 5\n", {}, {}, {4}, false},
		{"a255CharacterLineIsNotOverlong", "#TYPE 4" + eString(248, ' ') + "\n#TYPE 5\n", {}, {}, {4, 5}, false},
		{"only256Lines", manyLines + "#TIME_BEGIN 1700000000\n", {}, std::vector<int>(256, 1), {}, false},
	};
	for (const ScanCase &c : cases)
	{
		SCOPED_TRACE(c.name);
		HostFixture host;
		host.writeFile("/timer.epl", c.text);
		TimerList list;
		ASSERT_TRUE(readTimerList(hostPath("/timer.epl"), list));
		EXPECT_EQ(c.begins, list.begins);
		EXPECT_EQ(c.durations, list.durations);
		EXPECT_EQ(c.types, list.types);
		EXPECT_EQ(c.unjudged, list.unjudged);
	}
}

TEST(TimerListScan, LogsEachEntryWithItsIndex)
{
	HostFixture host;
	host.writeFile("/timer.epl", "#TIME_BEGIN 30758399\n#TIME_BEGIN 1700000000\n#DURATION 60\n#TYPE 2\n");
	TimerList list;
	ASSERT_TRUE(readTimerList(hostPath("/timer.epl"), list));
	EXPECT_EQ(1u, host.logCount("[quelt]: repeating timer detected... sorry, we would'nt handle this.."));
	EXPECT_TRUE(host.logContains("[quelt]: Timer begins at: 1700000000 :: entrypoint: 1"));
	EXPECT_TRUE(host.logContains("[quelt]: Timer Duration: 60 :: entrypoint: 0"));
	EXPECT_TRUE(host.logContains("[quelt]: Timer Type: 2 :: entrypoint: 0"));

	TimerList missing;
	EXPECT_FALSE(readTimerList(hostPath("/none.epl"), missing));
}

struct VerdictCase
{
	const char *name;
	std::vector<int> begins, durations;
	TimerVerdict::Kind kind;
	long long distance;
	long long secondsLeft;
};

TEST(TimerVerdict, TheRunningEntryThenTheNextOneDecides)
{
	const int now = 1700000000;
	const VerdictCase cases[] = {
		{"noEntry", {}, {}, TimerVerdict::nothingAhead, 0, 0},
		{"within8Minutes", {now + 480}, {60}, TimerVerdict::dueSoon, 480, 0},
		{"justPast8Minutes", {now + 481}, {60}, TimerVerdict::later, 481, 0},
		{"beginsNow", {now}, {60}, TimerVerdict::inProgress, 0, 60},
		{"beginsNowWithoutDuration", {now}, {0}, TimerVerdict::nothingAhead, 0, 0},
		{"endedExactlyNow", {now - 60}, {60}, TimerVerdict::nothingAhead, 0, 0},
		{"beginWithoutDuration", {now - 10}, {}, TimerVerdict::nothingAhead, 0, 0},
		{"theNearestAheadOfSeveral", {now - 7200, now + 9000, now + 300, now + 600}, {60, 60, 60, 60},
			TimerVerdict::dueSoon, 300, 0},
		{"allFarAhead", {now + 9000, now + 600}, {60, 60}, TimerVerdict::later, 600, 0},
		{"aRunningOneBeforeOneAhead", {now + 100, now - 100}, {60, 400}, TimerVerdict::inProgress, 0, 300},
		{"theRunningOneThatEndsLast", {now - 10, now - 100}, {20, 400}, TimerVerdict::inProgress, 0, 300},
		{"repeatingEntriesAreOver", {86400, now + 481}, {3600, 60}, TimerVerdict::later, 481, 0},
	};
	for (const VerdictCase &c : cases)
	{
		SCOPED_TRACE(c.name);
		TimerList list;
		list.begins = c.begins;
		list.durations = c.durations;
		TimerVerdict v = judgeTimerList(list, now);
		EXPECT_EQ(c.kind, v.kind);
		EXPECT_EQ(c.distance, v.distance);
		EXPECT_EQ(c.secondsLeft, v.secondsLeft);
	}
}
} // namespace
