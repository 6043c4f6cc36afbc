// The infobar while it is up: the scrolling title, the logo's repaints and the clock.

#include <gtest/gtest.h>

#include <vector>

#include "infobar/infobarfixture.h"
#include "plugin/mainwindowfixture.h"

namespace
{
using namespace infobartest;

// What the title shows on one tick: the last width bytes of the name, or of the
// name behind five blanks.
struct Shown
{
	bool padded;
	size_t width;
};

TEST_F(InfobarTest, ANameOf26BytesScrollsOutAndBackInTicks)
{
	loadFile = "abcdefghijklmnopqrstuvwxyz";
	const eString padded = "     " + loadFile;
	const std::vector<Shown> ticks = {
		{false, 26}, {false, 25}, {false, 24}, {false, 23}, {false, 22}, {false, 21}, // out to the last 21
		{true, 21}, {true, 22}, {true, 23}, {true, 24}, {true, 25}, {true, 26}, {true, 27}, {true, 28},
		{true, 29}, {true, 30}, // back, up to four blanks before the name
		{false, 26}, {false, 25}, // and over again
	};
	auto infobar = openInfobar();
	ASSERT_EQ(loadFile, text(*infobar, "e_now_title"));

	for (size_t tick = 0; tick < ticks.size(); ++tick)
	{
		infobar->actualize_EinNow();
		eString expected = (ticks[tick].padded ? padded : loadFile).right(ticks[tick].width);
		EXPECT_EQ(expected, text(*infobar, "e_now_title")) << "tick " << tick + 1;
		EXPECT_EQ(expected, lcdText()) << "tick " << tick + 1;
	}
}

TEST_F(InfobarTest, NamesOf25BytesOrFewerStay)
{
	for (const char *name : {"abcdefghijklmnopqrstuvwxy", "short.avi", ""})
	{
		loadFile = name;
		auto infobar = openInfobar();
		for (int tick = 0; tick < 20; ++tick)
			infobar->actualize_EinNow();
		EXPECT_EQ(loadFile, text(*infobar, "e_now_title"));
		EXPECT_EQ(loadFile, lcdText());
	}
}

TEST_F(InfobarTest, TheLogoShowsAndIsRepaintedOnTheFirstThreeTicks)
{
	host.writeFile("/var/tuxbox/config/enigma/pictures/quelt/quelt.png", mainwindowtest::pngFile(48, 32));
	hasPicon = true;
	posx = 100;
	posy = 50;
	auto infobar = openInfobar();
	const eLabel &logo = infobar->logo();
	ASSERT_TRUE(logo.isVisibleOnScreen());
	EXPECT_EQ(eRect(100, 48, 48, 32), logo.getAbsoluteRect());

	int repaints = 0;
	eWidget::setRepaintHook([&repaints, &logo](eWidget *w) {
		if (w == &logo)
			++repaints;
	});
	for (int tick = 0; tick < 6; ++tick)
		infobar->actualize_EinNow();
	eWidget::setRepaintHook(nullptr);

	EXPECT_EQ(3, repaints);
}

TEST_F(InfobarTest, TheClockAlternatesItsSeparatorsOnSkinsWithSeconds)
{
	for (bool seconds : {true, false})
	{
		f_support = seconds;
		auto infobar = openInfobar();
		eString hoursAndMinutes = text(*infobar, "time");
		std::vector<char> separators;
		for (int second = 0; second < 4; ++second)
		{
			infobar->updateTime();
			eString clock = text(*infobar, "fulltime");
			ASSERT_EQ(8u, clock.size());
			EXPECT_EQ(clock[2], clock[5]);
			separators.push_back(clock[2]);
		}
		if (seconds)
			EXPECT_EQ((std::vector<char>{'.', ':', '.', ':'}), separators);
		else
			EXPECT_EQ((std::vector<char>{'.', '.', '.', '.'}), separators);
		EXPECT_EQ(hoursAndMinutes, text(*infobar, "time"));
	}
}
} // namespace
