// The infobar built from the skin and filled from VLC's status: texts, hidden
// elements, missing elements, the keys and its closing.

#include <gtest/gtest.h>

#include <vector>

#include "config/configkeys.h"
#include "host/actions.h"
#include "host/econfig.h"
#include "host/paths.h"
#include "host/eprogress.h"
#include "infobar/infobarfixture.h"

namespace
{
using namespace infobartest;

// Every element that a file stream has no use for.
const char *const hiddenElements[] = {
	"dvrInfoBar", "fileInfoBar", "recStatus", "progress_event", "g_snr_progress", "g_agc_progress",
	"g_ber_progress", "snr_num", "agc_num", "ber_num", "snr_text", "agc_text", "ber_text", "cam_info", "fc_text",
	"button_red_disabled", "button_green_disabled", "button_yellow_enabled", "button_yellow_disabled",
	"button_blue_enabled", "button_blue_disabled", "osd_dolby_on", "osd_crypt_on", "osd_format_on",
	"osd_dolby_off", "osd_crypt_off", "osd_format_off", "beta_emm", "irdeto_ecm", "seca_no", "via_emm",
	"nagra_ecm", "cw_no", "nds_emm", "conax_no",
};

TEST_F(InfobarTest, ShowsTheFileAndWhatVlcReportsOfIt)
{
	vlc.setStatusXml(statusXml(1200, 3600, 33, "mpgv", "720x576"));
	loadFile = "movie.avi";
	nextFile = "next.mpg";
	startHour = 20;
	startMin = 5;

	auto infobar = openInfobar();

	EXPECT_EQ(std::vector<eString>{"/requests/status.xml"}, vlc.targets());
	struct
	{
		const char *element, *text;
	} const texts[] = {
		{"e_now_title", "movie.avi"}, {"e_next_title", "next.mpg"}, {"e_now_duration", "+40 min"},
		{"e_next_duration", "+0 min"}, {"e_now_time", "20:05"}, {"e_next_time", "21:05"},
		{"pro_name", "CODEC: mpgv"}, {"videoformat", "720x576"}, {"ch_number", "RC21"}, {"description", "RC21"},
		{"date", "VLC Mode"}, {"snr_text", "SNR:"}, {"agc_text", "AGC:"}, {"ber_text", "BER:"},
		{"yellow_text", "Vol Down"}, {"blue_text", "Vol Up"},
	};
	for (const auto &t : texts)
		EXPECT_EQ(t.text, text(*infobar, t.element)) << t.element;
	EXPECT_EQ("20:05", startTime);
	EXPECT_EQ("21:05", nextTime);

	EXPECT_EQ(33, infobar->progress("progress_bar")->getPerc());
	EXPECT_TRUE(infobar->element("progress_bar")->isVisibleOnScreen());
	for (const char *name : hiddenElements)
		EXPECT_FALSE(infobar->element(name)->isVisible()) << name;
	for (const char *name : {"dvbInfoBar", "button_red_enabled", "button_green_enabled", "red_text", "green_text",
			 "yellow_text", "blue_text", "e_now_title", "time", "fulltime"})
		EXPECT_TRUE(infobar->element(name)->isVisibleOnScreen()) << name;
	// Raised last, the file bar would lie in front of the others once a skin shows it.
	EXPECT_EQ(infobar->element("fileInfoBar"), infobar->getChildren().back());

	// The box's skin places the bar at the bottom of the screen and has every element.
	EXPECT_EQ(eRect(20, 392, 680, 164), infobar->getAbsoluteRect());
	EXPECT_EQ(eRect(245, 438, 345, 28), infobar->element("e_now_title")->getAbsoluteRect());
	EXPECT_EQ(0u, host.logCount("skin has undefined element"));
	EXPECT_EQ(5u, text(*infobar, "time").size());
	EXPECT_EQ(':', text(*infobar, "time")[2]);

	EXPECT_EQ("movie.avi", lcdText());
	EXPECT_TRUE(eZapLCD::getInstance()->lcdMain->isVisible());
	EXPECT_FALSE(eZapLCD::getInstance()->lcdMenu->isVisible());
	EXPECT_TRUE(infoIsVisible);
}

TEST_F(InfobarTest, WithoutAnAnswerCountsNothingAsPlayed)
{
	vlc.setFailure(VlcDouble::Failure::refuse);
	startHour = 9;
	startMin = 41;

	auto infobar = openInfobar();

	EXPECT_EQ("CODEC: unknown", text(*infobar, "pro_name"));
	EXPECT_EQ("unknown", text(*infobar, "videoformat"));
	EXPECT_EQ("+0 min", text(*infobar, "e_now_duration"));
	EXPECT_EQ("09:41", text(*infobar, "e_next_time"));
	EXPECT_EQ(0, infobar->progress("progress_bar")->getPerc());
}

TEST_F(InfobarTest, AnAnswerThatIsNoXmlCountsAsNoAnswer)
{
	vlc.setStatusXml("<root><time>12</time>");
	auto infobar = openInfobar();
	EXPECT_EQ("CODEC: unknown", text(*infobar, "pro_name"));
	EXPECT_EQ("+0 min", text(*infobar, "e_now_duration"));
}

TEST_F(InfobarTest, MovesByTheReceiversInfobarOffsets)
{
	eConfig::getInstance()->setKey(configkey::ezapOffsetX, 10);
	eConfig::getInstance()->setKey(configkey::ezapOffsetY, -20);
	auto infobar = openInfobar();
	EXPECT_EQ(ePoint(30, 372), infobar->getAbsoluteRect().topLeft());
}

TEST_F(InfobarTest, SkinsWithSecondsShowTheEventBarAndTheFullClock)
{
	f_support = true;
	vlc.setStatusXml(statusXml(0, 600, 40, "mp4v", "640x480"));

	auto infobar = openInfobar();

	// The bar is 510 pixels wide in the skin: 5 pixels a percent.
	eProgress *bar = infobar->progress("progress_event");
	EXPECT_EQ(eSize(200, 8), bar->getSize());
	EXPECT_TRUE(bar->isVisible());
	EXPECT_FALSE(infobar->element("progress_bar")->isVisible());
	eString clock = text(*infobar, "fulltime");
	ASSERT_EQ(8u, clock.size());
	EXPECT_EQ(':', clock[2]);
	EXPECT_EQ(':', clock[5]);
}

struct ModeCase
{
	bool skipMode;
	int jumpMinutes;
	const char *mode, *red, *green;
};

TEST_F(InfobarTest, ColourKeysFollowTheSeekOrSkipMode)
{
	const ModeCase cases[] = {
		{false, 5, "Seek Mode activated", "REW 5 min.", "FFW 5 min."},
		{false, 1, "Seek Mode activated", "REW 1 min.", "FFW 1 min."},
		{true, 5, "Skip Mode activated", "Skip REW", "Skip FFW"},
	};
	for (const ModeCase &c : cases)
	{
		sMode = c.skipMode;
		JumpInMinutes = c.jumpMinutes;
		auto infobar = openInfobar();
		EXPECT_EQ(c.mode, text(*infobar, "ch_name"));
		EXPECT_EQ(c.red, text(*infobar, "red_text"));
		EXPECT_EQ(c.green, text(*infobar, "green_text"));
	}
}

TEST_F(InfobarTest, ASkinWithoutAnElementWarnsOnceAndStillOpens)
{
	// The box's skin with the signal-to-noise number left out.
	eString file;
	{
		FILE *f = fopen(hostPath(boxSkin).c_str(), "rb");
		ASSERT_NE(nullptr, f);
		char buffer[4096];
		size_t got;
		while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0)
			file.append(buffer, got);
		fclose(f);
	}
	size_t line = file.find("<element name=\"snr_num\"");
	ASSERT_NE(eString::npos, line);
	file.erase(line, file.find('\n', line) - line);
	host.writeFile("/share/tuxbox/enigma/skins/test/nosnr.xml", file);
	eSkin lacking;
	ASSERT_EQ(0, lacking.load("/share/tuxbox/enigma/skins/test/nosnr.xml"));
	lacking.makeActive();
	host.clearLog();

	auto infobar = openInfobar();

	EXPECT_EQ(1u, host.logCount("skin has undefined element"));
	EXPECT_EQ(1u, host.logCount("skin has undefined element: snr_num"));
	// Its stand-in takes what the infobar does to it and shows nothing.
	eWidget *stand_in = infobar->element("snr_num");
	EXPECT_EQ(eSize(0, 0), stand_in->getSize());
	EXPECT_FALSE(stand_in->isVisible());
	EXPECT_EQ(0, infobar->exec());
	EXPECT_EQ(75 * 225, host.clock().nowMs());
}

// A skin of this host's own making that knows only a few of the elements.
TEST_F(InfobarTest, MissingElementsAreNamedInCatalogueOrder)
{
	host.writeFile("/share/tuxbox/enigma/skins/test/small.xml",
		"<skin>\n<layout name=\"ezap_main\" position=\"0,400\" size=\"720,176\">\n"
		"<element name=\"e_now_title\" position=\"10,10\" size=\"400,30\"/>\n"
		"<element name=\"time\" position=\"600,10\" size=\"100,30\"/>\n"
		"<element name=\"Picon\" backgroundColor=\"#202040\"/>\n"
		"</layout>\n</skin>\n");
	eSkin small;
	ASSERT_EQ(0, small.load("/share/tuxbox/enigma/skins/test/small.xml"));
	small.makeActive();
	loadFile = "film.ts";
	host.clearLog();

	auto infobar = openInfobar();

	std::vector<eString> missing;
	for (const eString &line : host.logLines())
		if (line.find("skin has undefined element: ") != eString::npos)
			missing.push_back(line.mid(line.find(": ") + 2));
	ASSERT_EQ(65u, missing.size()); // of 68, three are in the layout
	EXPECT_EQ("g_snr_progress", missing.front());
	EXPECT_EQ("snr_num", missing[3]);
	EXPECT_EQ("snr_text", missing[6]); // "Picon" is there, by a property alone
	EXPECT_EQ("fulltime", missing.back());
	EXPECT_EQ("film.ts", text(*infobar, "e_now_title"));
	EXPECT_EQ(eRect(10, 410, 400, 30), infobar->element("e_now_title")->getAbsoluteRect());
}

TEST_F(InfobarTest, WithoutTheLayoutTheRunEndsAtOnce)
{
	eSkin bare;
	host.writeFile("/share/tuxbox/enigma/skins/test/bare.xml", "<skin>\n</skin>\n");
	ASSERT_EQ(0, bare.load("/share/tuxbox/enigma/skins/test/bare.xml"));
	bare.makeActive();

	auto infobar = openInfobar();

	EXPECT_EQ(0, infobar->exec());
	EXPECT_EQ(0, host.clock().nowMs());
}

struct CloseCase
{
	const char *name;
	std::vector<RcKey> keys;
};

TEST_F(InfobarTest, ClosesByItselfAfter75TicksOrAtOnceOnOkOrExit)
{
	const CloseCase cases[] = {
		{"no key", {}},
		{"OK", {RcKey::ok}},
		{"Exit", {RcKey::exit}},
		{"red, green and digits do nothing, then OK", {RcKey::red, RcKey::green, RcKey::digit5, RcKey::ok}},
	};
	for (const CloseCase &c : cases)
	{
		loadFile = "a name longer than twenty-five bytes.avi";
		int64_t opened = host.clock().nowMs();
		KeyQueue keys(&host.loop());
		for (RcKey key : c.keys)
			keys.push(key);
		{
			auto infobar = openInfobar();
			EXPECT_EQ(0, infobar->exec()) << c.name;
			EXPECT_EQ(0u, keys.pending()) << c.name;
			EXPECT_FALSE(infoIsVisible) << c.name;
		}
		int64_t open = host.clock().nowMs() - opened;
		EXPECT_EQ(c.keys.empty() ? 75 * 225 : 0, open) << c.name;
		// The full name is back on the LCD, whatever piece the scrolling left there.
		EXPECT_EQ(loadFile, lcdText()) << c.name;
	}
}

TEST_F(InfobarTest, YellowAndBlueChangeTheVolume)
{
	KeyQueue keys(&host.loop());
	keys.push({RcKey::yellow, RcKey::yellow, RcKey::blue, RcKey::ok});
	std::vector<int> volumes;
	sigc::connection watch = eAVSwitch::getInstance()->volumeChanged.connect(
		[&volumes](int, int volume) { volumes.push_back(volume); });

	openInfobar()->exec();
	watch.disconnect();

	EXPECT_EQ((std::vector<int>{11, 12, 11}), volumes);
}
} // namespace
