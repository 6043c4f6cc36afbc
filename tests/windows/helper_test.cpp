// The help window: the version and the sixteen lines about the keys.

#include <gtest/gtest.h>

#include <vector>

#include "browser/elistboxentryquelt.h"
#include "plugin/mainwindowfixture.h"
#include "windows/equelthelper.h"
#include "windows/windowsfixture.h"

namespace
{
using namespace windowstest;

const char *const helpPicture = "/var/tuxbox/config/enigma/pictures/quelt/help.png";

const std::vector<eString> lines = {
	"RC21",
	"OK: Show/hide Infobar",
	"Up: Show some Stream Infos",
	"Down: Show Menu during Streaming",
	"Help: Show this",
	"Vol+: Volume Up",
	"Vol-: Volume Down",
	"Exit: Cancel playback and exit",
	"Red: Start skipping/seeking reverse",
	"Blue: Enter Settings/Start skipping/seeking forward / VolUp(Streambar)",
	"Green: Set Shutdown Mode / Play",
	"Yellow: Pause / VolDown(Streambar)",
	"1(4) <-> 3(6): Startoffset",
	"1-8: Seek +1-8 minutes ",
	"9: Activate Skip Mode/disabling SkipMode ",
	"0: Set Jump value to 1min.",
};

std::vector<eString> shownLines(const eQUELTHelper &window)
{
	std::vector<eString> out;
	window.helpList->forEachEntry([&out](eListBoxEntryQUELT &e) { out.push_back(e.getText()); });
	return out;
}

TEST_F(WindowTest, TheHelpWindowListsTheKeysWithThePicture)
{
	host.writeFile(helpPicture, mainwindowtest::pngFile(16, 16));
	eQUELTHelper window;

	EXPECT_EQ("Help", window.getText());
	EXPECT_EQ(eRect(60, 90, 620, 430), window.getAbsoluteClientRect());
	EXPECT_EQ(eRect(5, 5, 610, 420), eRect(window.helpList->getPosition(), window.helpList->getSize()));
	EXPECT_EQ(lines, shownLines(window));
	gPixmap *picture = window.helpList->getEntry(0)->getPixmap();
	ASSERT_NE(nullptr, picture);
	window.helpList->forEachEntry([picture](eListBoxEntryQUELT &e) { EXPECT_EQ(picture, e.getPixmap()); });
}

TEST_F(WindowTest, WithoutThePictureTheHelpWindowStillListsEveryLine)
{
	eQUELTHelper window;
	EXPECT_EQ(lines, shownLines(window));
	window.helpList->forEachEntry([](eListBoxEntryQUELT &e) { EXPECT_EQ(nullptr, e.getPixmap()); });
}

TEST_F(WindowTest, TheHelpWindowRunsUntilExit)
{
	host.writeFile(helpPicture, mainwindowtest::pngFile(16, 16));
	KeyQueue keys(&host.loop());
	keys.push({RcKey::down, RcKey::down, RcKey::exit});
	eQUELTHelper::run();
	EXPECT_EQ(0u, keys.pending());
}
} // namespace
