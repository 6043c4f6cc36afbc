// The logo configuration and where the infobar shows the logo.

#include <gtest/gtest.h>

#include "host/gpainter.h"
#include "host/gpixmap.h"
#include "infobar/equeltinfo.h"
#include "plugin/mainwindowfixture.h"

namespace
{
using namespace mainwindowtest;

const char *const configuration = "/var/tuxbox/config/picon.xml";
const char *const ownLogo = "/var/tuxbox/config/enigma/pictures/quelt/quelt.png";
const char *const receiverLogo = "/var/tuxbox/config/enigma/pictures/picon/default.png";

class LogoTest : public MainWindowTest
{
};

struct LogoCase
{
	const char *name;
	const char *file; // null: no file at all
	int result;
	int x, y;
	bool skinPosition;
};

TEST_F(LogoTest, TheLogoConfigurationPlacesTheLogo)
{
	const LogoCase cases[] = {
		{"framebuffer only", "<picon><values><framebuffer posx=\"100\" posy=\"50\"/></values></picon>", 0, 100, 50,
			false},
		{"the skin before the framebuffer",
			"<picon><pskins><skin name=\"default\" posx=\"400\" posy=\"60\"/></pskins>"
			"<values><framebuffer posx=\"100\" posy=\"50\"/></values></picon>",
			0, 400, 60, true},
		{"the skin after the framebuffer",
			"<picon><values><framebuffer posx=\"100\" posy=\"50\"/></values>"
			"<pskins><skin name=\"blue\" posx=\"1\" posy=\"2\"/><skin name=\"default\" posx=\"400\" posy=\"60\"/>"
			"</pskins></picon>",
			0, 400, 60, true},
		{"a name differing in case",
			"<picon><pskins><skin name=\"Default\" posx=\"400\" posy=\"60\"/></pskins>"
			"<values><framebuffer posx=\"100\" posy=\"50\"/></values></picon>",
			0, 100, 50, false},
		{"the last framebuffer entry",
			"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<x><values><framebuffer posx=\"1\" posy=\"2\"/>"
			"<framebuffer posx=\"3\" posy=\"4\"/></values></x>",
			0, 3, 4, false},
		{"neither values nor skins", "<picon><other/></picon>", 0, 200, 300, false},
		{"a coordinate left out", "<picon><values><framebuffer posy=\"80\"/></values></picon>", 0, 200, 80, false},
		{"an empty file", "", -1, 200, 300, false},
		{"not XML", "<picon><values>", -1, 200, 300, false},
		{"no file", nullptr, -1, 200, 300, false},
	};
	auto window = openWindow();
	for (const LogoCase &c : cases)
	{
		posx = 200;
		posy = 300;
		formatted_skin = false;
		active_skin = "default";
		if (c.file)
			host.writeFile(configuration, c.file);
		else
			host.removeFile(configuration);

		EXPECT_EQ(c.result, window->readLogoConf()) << c.name;
		EXPECT_EQ(c.x, posx) << c.name;
		EXPECT_EQ(c.y, posy) << c.name;
		EXPECT_EQ(c.skinPosition, formatted_skin) << c.name;
	}
}

TEST_F(LogoTest, TheInfobarShowsTheLogoTwoPixelsAboveItsPlace)
{
	writePicture(ownLogo, 40, 30);
	writePicture(receiverLogo, 20, 10);
	hasPicon = true;
	posx = 100;
	posy = 50;
	eQUELTInfo infobar;
	const eLabel &logo = infobar.logo();
	EXPECT_TRUE(logo.isVisible());
	EXPECT_EQ(eRect(100, 48, 40, 30), logo.getAbsoluteRect());
	EXPECT_EQ(gPainter::BF_ALPHA_TEST, logo.getBlitFlags());
	ASSERT_NE(nullptr, logo.getPixmap());
	EXPECT_NE(eString::npos, logo.getPixmap()->source.find("quelt/quelt.png"));
}

TEST_F(LogoTest, TheReceiversLogoStandsInForTheOwnOne)
{
	writePicture(receiverLogo, 20, 10);
	hasPicon = true;
	eQUELTInfo infobar;
	EXPECT_EQ(eRect(200, 298, 20, 10), infobar.logo().getAbsoluteRect());
	ASSERT_NE(nullptr, infobar.logo().getPixmap());
	EXPECT_NE(eString::npos, infobar.logo().getPixmap()->source.find("picon/default.png"));
}

TEST_F(LogoTest, WithoutPictureOrConfigurationNoLogoShows)
{
	hasPicon = true;
	{
		eQUELTInfo withoutPicture;
		EXPECT_FALSE(withoutPicture.logo().isVisible());
	}
	writePicture(ownLogo, 40, 30);
	hasPicon = false;
	eQUELTInfo withoutConfiguration;
	EXPECT_FALSE(withoutConfiguration.logo().isVisible());
}
} // namespace
