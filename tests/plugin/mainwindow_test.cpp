// The main window's start-up, its layout, the status line and the volume display,
// run on the headless host with a virtual clock and VLC's double.

#include <climits>

#include "browser/elistboxentryquelt.h"
#include "config/configkeys.h"
#include "host/actions.h"
#include "host/clock.h"
#include "host/emessagebox.h"
#include "host/eprogress.h"
#include "host/estatusbar.h"
#include "host/ezaplcd.h"
#include "plugin/mainwindowfixture.h"

namespace
{
using namespace mainwindowtest;

TEST_F(MainWindowTest, StartUpBuildsTheBrowsingWindow)
{
	auto window = openWindow();

	EXPECT_EQ(eRect(75, 75, 600, 440), window->getAbsoluteClientRect());
	EXPECT_EQ(22, fd);
	EXPECT_TRUE(window->menuVisible);

	struct Expected
	{
		eLabel *label;
		int x;
		const char *colourName;
		gRGB colour;
		const char *text;
	};
	const Expected keys[] = {
		{l_root, 10, "std_dred", gRGB(0xaa, 0, 0), "File"},
		{l_svcd, 157, "std_dgreen", gRGB(0, 0xaa, 0), "DVD"},
		{l_vcd, 304, "std_dyellow", gRGB(0xaa, 0xaa, 0), "(S)VCD"},
		{l_dvd, 452, "std_dblue", gRGB(0, 0, 0xaa), "Settings"},
	};
	for (const Expected &key : keys)
	{
		SCOPED_TRACE(key.text);
		ASSERT_NE(nullptr, key.label);
		EXPECT_EQ(window.get(), key.label->getParent());
		EXPECT_EQ(key.text, key.label->getText());
		EXPECT_EQ(ePoint(key.x, 0), key.label->getPosition());
		EXPECT_EQ(eSize(138, 32), key.label->getSize());
		EXPECT_EQ("center", key.label->getProperty("align"));
		EXPECT_TRUE(key.label->hasProperty("vcenter"));
		EXPECT_EQ(key.colourName, key.label->getProperty("backgroundColor"));
		EXPECT_TRUE(key.label->hasBackgroundColor());
		EXPECT_EQ(key.colour, key.label->getBackgroundColor());
		EXPECT_TRUE(key.label->isVisibleOnScreen());
	}

	ASSERT_NE(nullptr, window->fileList);
	EXPECT_EQ(ePoint(10, 42), window->fileList->getPosition());
	EXPECT_EQ(eSize(580, 280), window->fileList->getSize());
	EXPECT_TRUE(window->fileList->isVisibleOnScreen());
	EXPECT_EQ(window->fileList, window->getFocus());

	ASSERT_NE(nullptr, window->statusBar);
	EXPECT_EQ(ePoint(10, 325), window->statusBar->getPosition());
	EXPECT_EQ(eSize(580, 110), window->statusBar->getSize());
	EXPECT_EQ("eStatusBar", window->statusBar->getDeco());
	EXPECT_TRUE(window->statusBar->isVisibleOnScreen());

	ASSERT_NE(nullptr, info);
	EXPECT_TRUE(info->isTopLevel());
	EXPECT_EQ(ePoint(50, 50), info->getPosition());
	EXPECT_EQ(eSize(200, 32), info->getSize());
	EXPECT_FALSE(info->isVisible());
	ASSERT_NE(nullptr, Info);
	EXPECT_EQ(window.get(), Info->getParent());
	EXPECT_EQ(eRect(50, 100, 580, 400), eRect(Info->getPosition(), Info->getSize()));
	EXPECT_FALSE(Info->isVisible());

	ASSERT_NE(nullptr, window->pauseBox);
	EXPECT_FALSE(window->pauseBox->isVisible());
	EXPECT_EQ("Stream paused. Press yellow or green to release.", window->pauseBox->getMessage());
	EXPECT_EQ(16, window->pauseBox->getFlags());
	EXPECT_EQ(0, window->pauseBox->getTimeout());

	EXPECT_EQ(gRGB(0x10, 0xe0, 0x10), window->volumeBar->getLeftColor());
	EXPECT_EQ(gRGB(0x30, 0x30, 0x30), window->volumeBar->getRightColor());
	EXPECT_FALSE(window->volumeGraphic.isVisible());

	// The window base brings the cursor map first; the key route tries the maps in order.
	const std::vector<eActionMap *> maps = {&i_cursorActions->map, &i_shortcutActions->map, &i_listActions->map};
	EXPECT_EQ(maps, window->getActionMaps());

	// Only the timer guard's first run is due: one second after start-up.
	for (eTimer *timer : {window->playTimer.get(), window->volumeTimer.get(), window->waitTimer.get(),
			 window->infoTimer.get(), window->infoCloseTimer.get(), window->shutdownTimer.get()})
	{
		ASSERT_NE(nullptr, timer);
		EXPECT_FALSE(timer->isActive());
	}
	ASSERT_NE(nullptr, window->recheckTimer);
	EXPECT_TRUE(window->recheckTimer->isActive());
	EXPECT_TRUE(window->recheckTimer->singleShot());
	EXPECT_EQ(1000, window->recheckTimer->deadline() - host.clock().nowMs());

	eZapLCD *lcd = eZapLCD::getInstance();
	EXPECT_EQ("QUELT", lcd->lcdMain->serviceName());
	EXPECT_TRUE(lcd->lcdMain->isVisible());
	EXPECT_FALSE(lcd->lcdMenu->isVisible());

	EXPECT_EQ(1, jump);
	EXPECT_EQ(1, jump_old);
	EXPECT_EQ(1, JumpInMinutes);
	EXPECT_TRUE(host.logContains("[Quelt]: quelt RC21 is starting up"));
	EXPECT_TRUE(host.logContains("[quelt]: startdir /media/films, cddrive D:"));
	EXPECT_TRUE(host.logContains("[quelt]: Could'nt find Gemini signature..."));
}

TEST_F(MainWindowTest, StartUpTakesTheServerSet)
{
	auto window = openWindow();

	EXPECT_TRUE(CONNECTION);
	EXPECT_EQ("127.0.0.1", send_parms[0]);
	EXPECT_EQ(eString::format("%d", vlc.webPort()), send_parms[1]);
	EXPECT_EQ(eString::format("%d", vlc.streamPort()), send_parms[2]);
	EXPECT_EQ("/media/films", startdir);
	EXPECT_EQ("D:", cddrive);
	EXPECT_EQ(31, quelt_volume);
}

struct CredentialsCase
{
	const char *user;
	const char *pass;
	const char *expected;
};

class CredentialsTest : public MainWindowTest, public ::testing::WithParamInterface<CredentialsCase>
{
};

// VLC is sent credentials whenever the set names a password, the user name
// possibly empty (VLC 3 wants it so); a user name alone sends nothing.
TEST_P(CredentialsTest, SetsTheFourthParameter)
{
	writeSettings(GetParam().user, GetParam().pass);
	auto window = openWindow();
	EXPECT_EQ(GetParam().expected, send_parms[3]);
}

INSTANTIATE_TEST_SUITE_P(Sets, CredentialsTest,
	::testing::Values(CredentialsCase{"admin", "secret", "admin:secret"}, CredentialsCase{"admin", "", ""},
		CredentialsCase{"", "secret", ":secret"}, CredentialsCase{"", "", ""}),
	[](const ::testing::TestParamInfo<CredentialsCase> &info) {
		return eString::format("user%d_pass%d", *info.param.user != 0, *info.param.pass != 0);
	});

struct ConnectionCase
{
	const char *name;
	const char *settings; // null: no settings file; PORT stands for the double's port
	int checkset;         // 0: key absent
	bool connection;
};

class ConnectionTest : public MainWindowTest, public ::testing::WithParamInterface<ConnectionCase>
{
};

TEST_P(ConnectionTest, FollowsTheMissingSet)
{
	const ConnectionCase &c = GetParam();
	if (c.settings)
		host.writeFile("/var/tuxbox/config/quelt.xml",
			eString(c.settings).strReplace("PORT", eString::format("%d", vlc.webPort())));
	else
		host.removeFile("/var/tuxbox/config/quelt.xml");
	if (c.checkset)
		eConfig::getInstance()->setKey(configkey::checkset, c.checkset);

	auto window = openWindow();
	EXPECT_EQ(c.connection, CONNECTION);
}

INSTANTIATE_TEST_SUITE_P(Settings, ConnectionTest,
	::testing::Values(ConnectionCase{"set2Active", "<vlc><server name=\"set2\" ip=\"127.0.0.1\" webif-port=\"PORT\"/><config name=\"set2\" startdir=\"/media/films\"/></vlc>", 2,
					  true},
		ConnectionCase{"setMissing", "<vlc><server name=\"set2\" ip=\"127.0.0.1\" webif-port=\"PORT\"/></vlc>", 0,
			false},
		ConnectionCase{"emptyAddress", "<vlc><server name=\"set1\" ip=\"\"/></vlc>", 0, false},
		ConnectionCase{"notXml", "this is no settings file", 0, false},
		ConnectionCase{"noFile", nullptr, 0, false}),
	[](const ::testing::TestParamInfo<ConnectionCase> &info) { return eString(info.param.name); });

struct KeysCase
{
	const char *name;
	int infodelay; // INT_MIN: key absent
	int autoinfo;  // INT_MIN: key absent
	int autoplay;  // INT_MIN: key absent
	int expectedAutoinfo;
	int expectedInfodelay;
	int expectedAutoplay;
};

class StartUpKeysTest : public MainWindowTest, public ::testing::WithParamInterface<KeysCase>
{
};

TEST_P(StartUpKeysTest, SetTheInfoLineAndContinuousPlay)
{
	const KeysCase &c = GetParam();
	eConfig *config = eConfig::getInstance();
	if (c.infodelay != INT_MIN)
		config->setKey(configkey::infodelay, c.infodelay);
	if (c.autoinfo != INT_MIN)
		config->setKey(configkey::autoinfo, c.autoinfo);
	if (c.autoplay != INT_MIN)
		config->setKey(configkey::autoplay, c.autoplay);

	auto window = openWindow();
	EXPECT_EQ(c.expectedAutoinfo, AUTOINFO);
	EXPECT_EQ(c.expectedInfodelay, INFODELAY);
	EXPECT_EQ(c.expectedAutoplay, AUTOPLAY);
}

INSTANTIATE_TEST_SUITE_P(Keys, StartUpKeysTest,
	::testing::Values(KeysCase{"noKeys", INT_MIN, INT_MIN, INT_MIN, 0, 300000, 1},
		KeysCase{"delayZeroSwitchesInfoOff", 0, 1, INT_MIN, 0, 300000, 1},
		KeysCase{"negativeDelay", -4, 1, INT_MIN, 0, 300000, 1},
		KeysCase{"threeMinutes", 3, INT_MIN, INT_MIN, 1, 180000, 1},
		KeysCase{"threeMinutesInfoOff", 3, 0, 0, 0, 180000, 0},
		KeysCase{"oneMinuteAutoplayOn", 1, 1, 1, 1, 60000, 1},
		KeysCase{"delayBeyondMilliseconds", INT_MAX, 1, INT_MIN, 1, INT_MAX, 1}),
	[](const ::testing::TestParamInfo<KeysCase> &info) { return eString(info.param.name); });

struct SkinNameCase
{
	const char *name;
	const char *skinKey; // null: key absent
	const char *activeSkin;
	bool fSupport;
};

class SkinNameTest : public MainWindowTest, public ::testing::WithParamInterface<SkinNameCase>
{
};

TEST_P(SkinNameTest, SetsActiveSkinAndSupport)
{
	const SkinNameCase &c = GetParam();
	if (c.skinKey)
		eConfig::getInstance()->setKey(configkey::skin, c.skinKey);
	auto window = openWindow();
	EXPECT_EQ(c.activeSkin, active_skin);
	EXPECT_EQ(c.fSupport, f_support);
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinNameTest,
	::testing::Values(SkinNameCase{"absent", nullptr, "default", false},
		SkinNameCase{"blueline", "/share/tuxbox/enigma/skins/blueline.esml", "/share/tuxbox/enigma/skins/blueline.esml",
			true},
		SkinNameCase{"viztaInsideAName", "/var/skins/myvizta2/skin.esml", "/var/skins/myvizta2/skin.esml", true},
		SkinNameCase{"capitalVizta", "/var/skins/Vizta.esml", "/var/skins/Vizta.esml", false},
		SkinNameCase{"other", "/share/tuxbox/enigma/skins/stone.esml", "/share/tuxbox/enigma/skins/stone.esml", false}),
	[](const ::testing::TestParamInfo<SkinNameCase> &info) { return eString(info.param.name); });

TEST_F(MainWindowTest, FirstDirectoryIsTheLastPathOrElseTheStartDirectory)
{
	{
		auto window = openWindow();
		EXPECT_EQ("/media/films", lastDir);
		EXPECT_TRUE(host.logContains("[quelt]: xml startdir: /media/films  <<>> config startdir: /media/films"));
	}
	host.clearLog();
	eConfig::getInstance()->setKey(configkey::lastPath, "/media/films/series");
	auto window = openWindow();
	EXPECT_EQ("/media/films/series", lastDir);
	EXPECT_TRUE(host.logContains("[quelt]: xml startdir: /media/films  <<>> config startdir: /media/films/series"));
}

struct StatusCase
{
	const char *name;
	int type;
	int startOffset;
	const char *entryName;
	int sizeMB;
	const char *expected; // null: the help text stays as it was
};

class SetStatusTest : public MainWindowTest, public ::testing::WithParamInterface<StatusCase>
{
};

TEST_P(SetStatusTest, PutsTheEntrysTextOnTheStatusLine)
{
	const StatusCase &c = GetParam();
	auto window = openWindow();
	window->fileList->setHelpText("before");
	PLAYLIST entry;
	entry.type = c.type;
	entry.startOffset = c.startOffset;
	entry.name = c.entryName;
	entry.sizeMB = c.sizeMB;
	window->playList = {PLAYLIST(), entry};

	window->setStatus(1);

	eString expected = c.expected ? c.expected : "before";
	EXPECT_EQ(expected, window->fileList->getHelpText());
	// The status line shows the focused list's help text.
	EXPECT_EQ(expected, window->statusBar->getText());
}

INSTANTIATE_TEST_SUITE_P(Types, SetStatusTest,
	::testing::Values(StatusCase{"parent", ENTRY_PARENT, 0, "", 0, "Go up one directory level"},
		StatusCase{"directory", ENTRY_DIRECTORY, 0, "films", 0, "Enter directory"},
		StatusCase{"playable", ENTRY_PLAYABLE, 5, "movie.avi", 700,
			"Startoffset: 05min.\nFile: movie.avi\nSize: 700 MB"},
		StatusCase{"playableWithPercent", ENTRY_PLAYABLE, 120, "100%d.mpg", 0,
			"Startoffset: 120min.\nFile: 100%d.mpg\nSize: 0 MB"},
		StatusCase{"noServer", ENTRY_NO_SERVER, 0, "NO CONNECTION TO VLC SERVER AVAILABLE", 0,
			"NO SERVER CONNECTION, please check your Settings and ensure that VLC is startet on the PC\n"
			"Check also your startpath settings! /media/films"},
		StatusCase{"unknownType", 7, 0, "x", 0, nullptr}),
	[](const ::testing::TestParamInfo<StatusCase> &info) { return eString(info.param.name); });

TEST_F(MainWindowTest, SetStatusOnAnEmptyListOrPastItChangesNothing)
{
	auto window = openWindow();
	// The first listing filled the list; this case is about an empty one.
	window->playList.clear();
	window->fileList->setHelpText("before");
	window->setStatus(0);
	EXPECT_EQ("before", window->fileList->getHelpText());
	window->playList.resize(1);
	window->setStatus(1);
	window->setStatus(-1);
	EXPECT_EQ("before", window->fileList->getHelpText());
}

TEST_F(MainWindowTest, ShowMenuBringsTheParkedWindowBack)
{
	auto window = openWindow();
	window->playTimer->start(2000, true);
	window->showMenu();
	EXPECT_TRUE(window->playTimer->isActive()) << "already browsing: nothing happens";

	window->park();
	EXPECT_FALSE(window->menuVisible);
	EXPECT_EQ(ePoint(90, 800), window->getAbsoluteClientRect().topLeft());
	EXPECT_TRUE(window->isVisible());
	window->pauseBox->show();

	window->showMenu();
	EXPECT_TRUE(window->menuVisible);
	EXPECT_EQ(ePoint(75, 75), window->getAbsoluteClientRect().topLeft());
	EXPECT_TRUE(window->isVisible());
	EXPECT_FALSE(window->playTimer->isActive());
	EXPECT_FALSE(window->pauseBox->isVisible());
	EXPECT_EQ("QUELT-MAIN", eZapLCD::getInstance()->lcdMain->serviceName());
}

TEST_F(MainWindowTest, VolumeDisplayIsPlacedFromTheSkin)
{
	writePicture("/share/tuxbox/enigma/skins/test/volume.png", 40, 20);
	addSkin("<image name=\"volume_grafik\" file=\"volume.png\"/>\n"
			"<value name=\"volume.grafik.pos.x\" value=\"500\"/>\n"
			"<value name=\"volume.grafik.pos.y\" value=\"60\"/>\n"
			"<value name=\"volume.slider.pos.x\" value=\"4\"/>\n"
			"<value name=\"volume.slider.pos.y\" value=\"6\"/>\n"
			"<value name=\"volume.slider.width\" value=\"30\"/>\n"
			"<value name=\"volume.slider.height\" value=\"8\"/>\n");
	auto window = openWindow();

	EXPECT_FALSE(isGemini);
	EXPECT_EQ(eWidget::desktop(), window->volumeGraphic.getParent());
	EXPECT_EQ(ePoint(500, 60), window->volumeGraphic.getPosition());
	EXPECT_EQ(eSize(40, 20), window->volumeGraphic.getSize());
	ASSERT_NE(nullptr, window->volumeGraphic.getPixmap());
	EXPECT_EQ(1, window->volumeGraphic.getBlitFlags());
	EXPECT_FALSE(window->volumeGraphic.isVisible());
	EXPECT_EQ(&window->volumeGraphic, window->volumeBar->getParent());
	EXPECT_EQ(ePoint(4, 6), window->volumeBar->getPosition());
	EXPECT_EQ(eSize(30, 8), window->volumeBar->getSize());
	EXPECT_EQ(500, p_x);
	EXPECT_EQ(60, p_y);
}

TEST_F(MainWindowTest, GeminiImageUsesItsOwnVolumePicture)
{
	host.writeFile("/var/etc/Gemini.conf", "");
	writePicture("/share/tuxbox/enigma/skins/test/volume.png", 40, 20);
	writePicture("/share/tuxbox/enigma/skins/test/gemini.png", 200, 10);
	addSkin("<image name=\"volume_grafik\" file=\"volume.png\"/>\n"
			"<image name=\"g_volume_progress\" file=\"gemini.png\"/>\n"
			"<value name=\"volume.grafik.pos.x\" value=\"500\"/>\n"
			"<value name=\"volume.grafik.pos.y\" value=\"60\"/>\n"
			"<value name=\"g_volume.progress.pos.x\" value=\"30\"/>\n"
			"<value name=\"g_volume.progress.pos.y\" value=\"4\"/>\n"
			"<value name=\"g_volume.progress.width\" value=\"190\"/>\n"
			"<value name=\"g_volume.progress.height\" value=\"9\"/>\n");
	auto window = openWindow();

	EXPECT_TRUE(host.logContains("[quelt]: Gemini Image detected..."));
	EXPECT_TRUE(isGemini);
	EXPECT_EQ(540, p_x);
	EXPECT_EQ(66, p_y);
	EXPECT_EQ(190, w_x);
	EXPECT_EQ(9, w_y);
	EXPECT_EQ(ePoint(540, 66), window->volumeBar->getPosition());
	EXPECT_EQ(eSize(190, 9), window->volumeBar->getSize());
	EXPECT_EQ(ePoint(540, 66), window->geminiVolume.getPosition());
	EXPECT_EQ(eSize(200, 10), window->geminiVolume.getSize());
	EXPECT_EQ(1, window->geminiVolume.getBlitFlags());
	EXPECT_FALSE(window->geminiVolume.isVisible());

	// The receiver's volume 31 of 63 fills about half the picture, in whole hundredths of its width.
	eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, 31);
	EXPECT_EQ(eSize(101, 10), window->geminiVolume.getSize());
	EXPECT_TRUE(window->geminiVolume.isVisible());
	EXPECT_TRUE(window->volumeGraphic.isVisible());
	eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, 0);
	EXPECT_EQ(eSize(200, 10), window->geminiVolume.getSize());
	EXPECT_EQ(0, quelt_volume);
}

TEST_F(MainWindowTest, GeminiWithoutBarSizeFallsBackToTheSlider)
{
	host.writeFile("/var/etc/Gemini.conf", "");
	addSkin("<value name=\"volume.slider.pos.x\" value=\"4\"/>\n"
			"<value name=\"volume.slider.pos.y\" value=\"6\"/>\n"
			"<value name=\"volume.slider.width\" value=\"30\"/>\n"
			"<value name=\"volume.slider.height\" value=\"8\"/>\n");
	auto window = openWindow();

	EXPECT_TRUE(host.logContains("[quelt]: Gemini Image detected..."));
	EXPECT_FALSE(isGemini);
	EXPECT_EQ(ePoint(4, 6), window->volumeBar->getPosition());
	EXPECT_EQ(eSize(30, 8), window->volumeBar->getSize());
}

TEST_F(MainWindowTest, GeminiWithoutPictureShowsNothingButTakesTheVolume)
{
	host.writeFile("/var/etc/Gemini.conf", "");
	addSkin("<value name=\"g_volume.progress.width\" value=\"190\"/>\n"
			"<value name=\"g_volume.progress.height\" value=\"9\"/>\n");
	auto window = openWindow();
	ASSERT_TRUE(isGemini);

	eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, 20);
	EXPECT_EQ(20, quelt_volume);
	EXPECT_FALSE(volumeIsVisible);
	EXPECT_FALSE(window->volumeGraphic.isVisible());
	EXPECT_TRUE(window->volumeTimer->isActive());
}

struct VolumeCase
{
	int volume;
	bool mute;
	int perc;
	int pluginVolume;
};

class VolumeBarTest : public MainWindowTest, public ::testing::WithParamInterface<VolumeCase>
{
};

TEST_P(VolumeBarTest, FollowsTheReceiversVolumeForFourSeconds)
{
	const VolumeCase &c = GetParam();
	auto window = openWindow();
	runUntil(1000);
	eAVSwitch *avs = eAVSwitch::getInstance();
	avs->mute = c.mute;
	avs->changeVolume(eAVSwitch::modeAbsolute, c.volume);

	EXPECT_EQ(c.perc, window->volumeBar->getPerc());
	EXPECT_EQ(c.pluginVolume, quelt_volume);
	EXPECT_EQ(c.pluginVolume, volu);
	EXPECT_TRUE(volumeIsVisible);
	EXPECT_TRUE(window->volumeGraphic.isVisible());
	EXPECT_TRUE(window->volumeBar->isVisible());
	EXPECT_TRUE(window->volumeTimer->isActive());
	EXPECT_FALSE(window->volumeTimer->singleShot());
	EXPECT_EQ(4000, window->volumeTimer->interval());

	// The display goes at the timer's first timeout; the timer keeps running.
	int64_t shownAt = host.clock().nowMs();
	for (int i = 0; i < 10 && volumeIsVisible; ++i)
		host.loop().processOneEvent(true);
	EXPECT_FALSE(volumeIsVisible);
	EXPECT_EQ(shownAt + 4000, host.clock().nowMs());
	EXPECT_FALSE(window->volumeGraphic.isVisible());
	EXPECT_FALSE(window->volumeBar->isVisible());
	EXPECT_TRUE(window->volumeTimer->isActive());
}

INSTANTIATE_TEST_SUITE_P(Volumes, VolumeBarTest,
	::testing::Values(VolumeCase{0, false, 100, 0}, VolumeCase{31, false, 50, 31}, VolumeCase{63, false, 0, 63},
		VolumeCase{12, true, 0, 63}),
	[](const ::testing::TestParamInfo<VolumeCase> &info) {
		return eString::format(info.param.mute ? "muted%d" : "volume%d", info.param.volume);
	});
} // namespace
