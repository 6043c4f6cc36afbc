// The infobar's arithmetic on VLC's status: minutes left, projected end, bar width.

#include <gtest/gtest.h>

#include <climits>

#include "infobar/infobartimes.h"
#include "infobar/vlcstatus.h"

namespace
{
struct RemainingCase
{
	int length, time;
	const char *text;
};

TEST(InfobarTimes, RemainingMinutes)
{
	const RemainingCase cases[] = {
		{60, 0, "+0 min"},
		{61, 0, "+1 min"},
		{3600, 0, "+60 min"},
		{3600, 1200, "+40 min"},
		{100, 200, "+0 min"},             // VLC's time past the length
		{INT_MAX, INT_MIN, "+71582788 min"}, // a peer's nonsense, without overflow
	};
	for (const RemainingCase &c : cases)
		EXPECT_EQ(c.text, infobartimes::remainingText(c.length, c.time)) << c.length << " - " << c.time;
}

struct EndCase
{
	int length, seek, startHour, startMin;
	const char *end;
};

TEST(InfobarTimes, ProjectedEnd)
{
	const EndCase cases[] = {
		{1800, 0, 23, 50, "00:20"}, // 50 + 30 minutes carry into the hour, 24 wraps to 0
		{300, 10, 20, 5, "20:05"},  // seeking used up the length: the start time
		{59, 0, 10, 0, "10:00"},
		{60, 0, 10, 0, "10:01"},
		{7259, 0, 10, 0, "12:00"},
		{5400, 0, 22, 45, "00:15"},
		{3600, -30, 8, 0, "09:30"}, // sought backwards: more is left
		{0, 0, 0, 0, "00:00"},
	};
	for (const EndCase &c : cases)
		EXPECT_EQ(c.end, infobartimes::projectedEnd(c.length, c.seek, c.startHour, c.startMin))
			<< c.length << " s, seek " << c.seek;
	// Out of range values from a peer give some text, never an overflow.
	EXPECT_FALSE(infobartimes::projectedEnd(INT_MAX, INT_MIN, 23, 59).empty());
}

TEST(InfobarTimes, EventBarWidth)
{
	struct
	{
		int skinWidth, position, width;
	} const cases[] = {
		{250, 40, 80}, {510, 100, 500}, {99, 50, 0}, {250, -5, 0}, {250, INT_MAX, INT_MAX},
	};
	for (const auto &c : cases)
		EXPECT_EQ(c.width, infobartimes::progressWidth(c.skinWidth, c.position)) << c.skinWidth << " x " << c.position;
}

TEST(InfobarTimes, NumbersInVlcAnswers)
{
	struct
	{
		const char *text;
		int value;
	} const cases[] = {
		{"1200", 1200}, {"  42", 42}, {"-7", -7}, {"33.5", 33}, {"", 0}, {"abc", 0},
		{"99999999999999999999", INT_MAX}, {"-99999999999", INT_MIN},
	};
	for (const auto &c : cases)
		EXPECT_EQ(c.value, VlcStatus::toInt(c.text)) << '"' << c.text << '"';
	EXPECT_EQ(0, VlcStatus::toInt(nullptr));
}
} // namespace
