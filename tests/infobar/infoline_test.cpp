// The main window's timed info line: its text from VLC's status and its schedule.

#include <gtest/gtest.h>

#include <ctime>

#include "host/edvb.h"
#include "host/elabel.h"
#include "plugin/mainwindowfixture.h"

namespace
{
using namespace mainwindowtest;

class InfoLineTest : public MainWindowTest
{
protected:
	void TearDown() override
	{
		eDVB::getInstance()->time_difference = 0;
		MainWindowTest::TearDown();
	}

	// Sets the receiver's clock to hour:minute:00 through its time correction; the
	// test has the rest of that minute.
	static void setReceiverClock(int hour, int minute)
	{
		time_t now = time(nullptr);
		struct tm local = {};
		localtime_r(&now, &local);
		local.tm_hour = hour;
		local.tm_min = minute;
		local.tm_sec = 0;
		local.tm_isdst = -1;
		eDVB::getInstance()->time_difference = int(mktime(&local) - now);
	}

	// Runs the loop until the info line is shown or hidden; the virtual clock then.
	int64_t runUntilInfoLine(bool shown)
	{
		for (int i = 0; i < 1000 && i_isVisible != shown; ++i)
			host.loop().processOneEvent(true);
		EXPECT_EQ(shown, i_isVisible);
		return host.clock().nowMs();
	}

	static eString status(int time, int length)
	{
		return eString::format("<root><length>%d</length><time>%d</time><state>playing</state></root>", length, time);
	}
};

TEST_F(InfoLineTest, ShowsTheTimeAndTheMinutesLeft)
{
	struct
	{
		const char *name;
		eString answer; // empty: VLC does not answer
		const char *text;
	} const cases[] = {
		{"playing", status(1200, 3600), "20:05 -- 40min."},
		{"no answer", "", "20:05 -- 0min."},
		{"not XML", "<root><time>", "20:05 -- 0min."},
		{"time past the length", status(150, 60), "20:05 -- -1min."},
	};
	auto window = openWindow();
	for (const auto &c : cases)
	{
		setReceiverClock(20, 5);
		if (c.answer.empty())
			vlc.setFailure(VlcDouble::Failure::refuse);
		else
		{
			vlc.setFailure(VlcDouble::Failure::none);
			vlc.setStatusXml(c.answer);
		}

		window->showInfo();

		EXPECT_EQ(c.text, info->getText()) << c.name;
		EXPECT_TRUE(info->isVisible()) << c.name;
		EXPECT_TRUE(i_isVisible) << c.name;
		window->closeInfo();
		EXPECT_FALSE(info->isVisible()) << c.name;
		EXPECT_EQ("", info->getText()) << c.name;
		EXPECT_FALSE(i_isVisible) << c.name;
	}
}

TEST_F(InfoLineTest, StaysSixSecondsAndReturnsEveryFiveMinutesWhateverTheFirstDelay)
{
	vlc.setStatusXml(status(0, 3600));
	auto window = openWindow();
	// As a playback start schedules it, with a first delay of one minute.
	INFODELAY = 60000;
	int64_t start = host.clock().nowMs();
	window->infoTimer->start(INFODELAY, true);

	int64_t shown = runUntilInfoLine(true);
	EXPECT_EQ(start + 60000, shown);
	EXPECT_EQ(start + 60000 + 6000, runUntilInfoLine(false));
	EXPECT_EQ("", info->getText());
	EXPECT_EQ(shown + 300000, runUntilInfoLine(true));
	EXPECT_EQ(shown + 306000, runUntilInfoLine(false));
	EXPECT_EQ(shown + 600000, runUntilInfoLine(true));
}
} // namespace
