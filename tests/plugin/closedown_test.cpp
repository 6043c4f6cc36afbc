// How the main window closes: the Exit key, the timer guard's close-down and the
// destructor that stores the last directory, stops VLC and restores the service.

#include "config/configkeys.h"
#include "host/actions.h"
#include "host/clock.h"
#include "host/ezaplcd.h"
#include "plugin/mainwindowfixture.h"

extern "C" int plugin_exec(void *);

namespace
{
using namespace mainwindowtest;

TEST_F(MainWindowTest, ExitWhileBrowsingClosesThePlugin)
{
	l_path = "/media/films";
	tv_volume = 25;
	KeyQueue keys(&host.loop());
	keys.push(RcKey::exit);

	EXPECT_EQ(0, plugin_exec(nullptr));

	EXPECT_EQ(0u, keys.pending());
	// Start-up sets the plug-in's volume to 31 until the timer guard's first run.
	EXPECT_EQ(31, intKey(configkey::volume, -1));
	EXPECT_EQ(25, eAVSwitch::getInstance()->volume);
	eString path;
	EXPECT_TRUE(stringKey(configkey::lastPath, path));
	EXPECT_EQ("/media/films", path);
	EXPECT_EQ(stopCommands(), commands());
	EXPECT_EQ(nullptr, l_root);
	EXPECT_EQ(nullptr, info);
}

TEST_F(MainWindowTest, ExitFirstHidesAShownVolumeDisplay)
{
	auto window = openWindow();
	eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, 20);
	ASSERT_TRUE(volumeIsVisible);
	KeyQueue keys(&host.loop());
	keys.push({RcKey::exit, RcKey::exit});

	EXPECT_EQ(0, window->exec());

	EXPECT_EQ(0u, keys.pending()) << "the first Exit must not close the window";
	EXPECT_EQ(20, intKey(configkey::volume, -1));
}

TEST_F(MainWindowTest, ExitWhileAStreamPlaysParksTheWindow)
{
	auto window = openWindow();
	eQUELTEngine::getInstance()->status = STATUS_PLAYING;
	KeyQueue keys(&host.loop());
	keys.push(RcKey::exit);
	// Nothing closes the window after the key; this does, once the key is done.
	eTimer closer(&host.loop());
	closer.timeout.connect([&] { window->close(42); });
	closer.start(100, true);

	EXPECT_EQ(42, window->exec());

	EXPECT_FALSE(window->menuVisible);
	EXPECT_EQ(ePoint(90, 800), window->getAbsoluteClientRect().topLeft());
	EXPECT_EQ(-1, intKey(configkey::volume, -1));
	EXPECT_TRUE(commands().empty());
}

struct CloseDownCase
{
	const char *name;
	int timerEvent;
	bool connected;
	bool servicePlayedAgain;
};

class CloseDownTest : public MainWindowTest, public ::testing::WithParamInterface<CloseDownCase>
{
};

TEST_P(CloseDownTest, StoresStopsAndRestoresTheService)
{
	const CloseDownCase &c = GetParam();
	if (!c.connected)
		host.removeFile("/var/tuxbox/config/quelt.xml");
	auto window = openWindow();
	ASSERT_EQ(c.connected, CONNECTION);
	window->savedService.type = 1;
	window->savedService.descr = "Das Erste";
	TIMEREVENT = c.timerEvent;
	l_path = "/media/films/new";

	window.reset();

	eString path;
	EXPECT_EQ(c.connected, stringKey(configkey::lastPath, path));
	if (c.connected)
	{
		EXPECT_EQ("/media/films/new", path);
		EXPECT_EQ(stopCommands(), commands());
		EXPECT_EQ(STATUS_IDLE, eQUELTEngine::getInstance()->status.load());
	}
	else
	{
		EXPECT_TRUE(vlc.requests().empty());
	}
	eServiceInterface *services = eServiceInterface::getInstance();
	EXPECT_EQ(c.servicePlayedAgain, services->running);
	if (c.servicePlayedAgain)
	{
		EXPECT_EQ("Das Erste", services->service.descr);
	}
}

INSTANTIATE_TEST_SUITE_P(States, CloseDownTest,
	::testing::Values(CloseDownCase{"nothingDue", 0, true, true}, CloseDownCase{"recordingDueSoon", 1, true, true},
		CloseDownCase{"recordingRunning", 3, true, false}, CloseDownCase{"noServerSet", 0, false, true}),
	[](const ::testing::TestParamInfo<CloseDownCase> &info) { return eString(info.param.name); });

TEST_F(MainWindowTest, CloseDownWithoutASavedServicePlaysNothing)
{
	auto window = openWindow();
	window.reset();
	EXPECT_FALSE(eServiceInterface::getInstance()->running);
}

TEST_F(MainWindowTest, CloseAppDoesNothingWhileNoRecordingIsDue)
{
	auto window = openWindow();
	runUntil(1000);
	TIMEREVENT = 0;
	tv_volume = 27;
	window->shutdownTimer->start(1000, true);
	eTimer closer(&host.loop());
	closer.timeout.connect([&] { window->close(42); });
	closer.start(5000, true);

	EXPECT_EQ(42, window->exec());
	EXPECT_EQ(-1, intKey(configkey::volume, -1));
	EXPECT_NE(27, eAVSwitch::getInstance()->volume);
}

TEST_F(MainWindowTest, CloseAppWhileBrowsingHandsTheVolumeBackAndCloses)
{
	auto window = openWindow();
	runUntil(1000);
	TIMEREVENT = 1;
	quelt_volume = 18;
	tv_volume = 27;
	window->shutdownTimer->start(1000, true);

	EXPECT_EQ(0, window->exec());

	EXPECT_EQ(2000, host.clock().nowMs());
	EXPECT_EQ(18, intKey(configkey::volume, -1));
	EXPECT_EQ(27, eAVSwitch::getInstance()->volume);
	EXPECT_TRUE(window->menuVisible);
	EXPECT_TRUE(commands().empty()) << "the engine is stopped by the close-down, not here";
}

TEST_F(MainWindowTest, CloseAppWhileAStreamPlaysStopsItFirst)
{
	auto window = openWindow();
	runUntil(1000);
	TIMEREVENT = 3;
	tv_volume = 27;
	loadFile = "movie.avi";
	eQUELTEngine::getInstance()->status = STATUS_PLAYING;
	window->shutdownTimer->start(1000, true);

	EXPECT_EQ(0, window->exec());

	EXPECT_EQ(27, eAVSwitch::getInstance()->volume);
	EXPECT_EQ(stopCommands(), commands());
	EXPECT_EQ(STATUS_IDLE, eQUELTEngine::getInstance()->status.load());
	EXPECT_TRUE(window->menuVisible);
	EXPECT_EQ(ePoint(75, 75), window->getAbsoluteClientRect().topLeft());
	EXPECT_EQ("movie.avi", eZapLCD::getInstance()->lcdMain->serviceName());
}
} // namespace
