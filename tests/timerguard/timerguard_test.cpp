// The timer guard in the main window: its first run one second after start-up,
// the boxes, the close-down before a recording and the start-up steps.

#include "session/sessionfixture.h"
#include "timerguard/guardclock.h"

namespace
{
using namespace sessiontest;

// The receiver's clock while a test runs: it stands still unless moved.
time_t receiverNow = 1700000000;

const eString closeSoonBox =
	"Information: A Timerevent will occur within the next 8 mins. The plugin will shutdown NOW!";
const eString inProgressBox = "Information: A Timerevent is currently in progress. The plugin will shutdown NOW!";
const eString unjudgedBox = "Information: Detected one or more unhandled timer-events (e.g. Ngrab, repeating timer "
							"etc.).\nRun QUELT at your own risk!";

class TimerGuardTest : public SessionTest
{
protected:
	void SetUp() override
	{
		SessionTest::SetUp();
		receiverNow = 1700000000;
		setGuardTimeSource([] { return receiverNow; });
		eServiceReference live;
		live.type = 1;
		live.descr = "Das Erste";
		eServiceInterface::getInstance()->play(live);
		m_startedConnection = eServiceInterface::getInstance()->started.connect(
			[this](const eServiceReference &) { ++servicesStarted; });
	}

	void TearDown() override
	{
		m_startedConnection.disconnect();
		SessionTest::TearDown();
	}

	// The timer list with entries whose begin times are given from now on; the
	// timer manager counts them as the receiver's does.
	void writeTimerList(const std::vector<std::pair<long, long>> &entries, const eString &extra = "")
	{
		eString text = extra;
		for (const auto &[fromNow, duration] : entries)
			text += eString::format("#SERVICE: 1:0:1:6dca:44d:1:c00000:0:0:0:\n#TIME_BEGIN %ld\n#DURATION %ld\n#TYPE 2\n",
				long(receiverNow) + fromNow, duration);
		host.writeFile("/var/tuxbox/config/enigma/timer.epl", text);
		int count = int(entries.size());
		eTimerManager::getInstance()->setCounter([count] { return count; });
	}

	int servicesStarted = 0;

private:
	sigc::connection m_startedConnection;
};

struct GuardCase
{
	const char *name;
	std::vector<std::pair<long, long>> entries; // begin from now, duration
	eString extra;                               // lines before the entries
	int timerEvent;
	std::vector<eString> boxes;
	bool recheck;
	bool serviceStopped;
	const char *log; // a line the run writes, or null
};

TEST_F(TimerGuardTest, FirstRunJudgesTheTimerList)
{
	const GuardCase cases[] = {
		{"noTimers", {}, "", 0, {}, false, true, nullptr},
		{"within8Minutes", {{480, 3600}}, "", 1, {closeSoonBox}, false, true, "[quelt]: next event in: 480s"},
		{"justPast8Minutes", {{481, 3600}}, "", 0, {}, true, true, "[quelt]: next event in: 481s"},
		{"beginsNow", {{0, 600}}, "", 3, {inProgressBox}, false, false,
			"[quelt]: event in progress for at least 600s"},
		{"endedExactlyNow", {{-600, 600}}, "", 0, {}, false, true, nullptr},
		{"severalEntries", {{-7200, 60}, {2000, 60}, {300, 60}}, "", 1, {closeSoonBox}, false, true,
			"[quelt]: next event in: 300s"},
		{"runningBeforeOneAhead", {{100, 60}, {-100, 400}}, "", 3, {inProgressBox}, false, false,
			"[quelt]: event in progress for at least 300s"},
		{"lastActivation", {{1000, 60}}, "#LAST_ACTIVATION 1699990000\n", 0, {unjudgedBox}, true, true,
			"[quelt]: unhandled event, starting msgbox"},
		{"noWarningAfterTheCloseBox", {{300, 60}}, "#LAST_ACTIVATION 1699990000\n", 1, {closeSoonBox}, false, true,
			nullptr},
		{"repeatingBoundary", {}, "#TIME_BEGIN 30758399\n", 0, {unjudgedBox}, false, true, nullptr},
		{"pastTheBoundary", {}, "#TIME_BEGIN 30758400\n", 0, {}, false, true, "[quelt]: Timer begins at: 30758400"},
	};
	for (const GuardCase &c : cases)
	{
		SCOPED_TRACE(c.name);
		resetPluginGlobals();
		eServiceInterface::getInstance()->running = true;
		writeTimerList(c.entries, c.extra);
		// A list that holds only a marker line still counts as one timer.
		if (c.entries.empty() && !c.extra.empty())
			eTimerManager::getInstance()->setCounter([] { return 1; });
		host.clearLog();
		watcher->clear();

		auto window = openWindow();
		ASSERT_TRUE(runUntilTrue([] { return !startUp; }, 100));

		EXPECT_EQ(c.timerEvent, TIMEREVENT);
		EXPECT_EQ(c.boxes, watcher->summary());
		for (const ShownModal &box : watcher->shown)
		{
			EXPECT_EQ(17, box.flags);
			EXPECT_EQ(box.text.find("unhandled") != eString::npos ? 0 : 5, box.timeout);
		}
		EXPECT_EQ(c.recheck, window->recheckTimer->isActive());
		if (c.recheck)
		{
			EXPECT_EQ(240000, window->recheckTimer->interval());
		}
		EXPECT_EQ(c.timerEvent != 0, window->shutdownTimer->isActive());
		EXPECT_EQ(!c.serviceStopped, eServiceInterface::getInstance()->isRunning());
		EXPECT_EQ("Das Erste", window->savedService.descr);
		if (c.log)
		{
			EXPECT_TRUE(host.logContains(c.log)) << c.log;
		}
		EXPECT_EQ(!c.entries.empty() || !c.extra.empty(), host.logContains("[quelt]: year: 123"));
		EXPECT_FALSE(startUp);
		window.reset();
	}
}

TEST_F(TimerGuardTest, ARecordingWithinEightMinutesClosesThePluginAfterItsBox)
{
	writeTimerList({{480, 3600}});
	auto window = openWindow();
	EXPECT_EQ(0, window->exec());

	EXPECT_EQ(7000, host.clock().nowMs()) << "box at 1 s, shown for 5 s, closing 1 s later";
	EXPECT_EQ(1, TIMEREVENT);
	window.reset();
	EXPECT_EQ(1, servicesStarted) << "the saved service plays again";
}

TEST_F(TimerGuardTest, ARunningRecordingKeepsItsServiceThroughout)
{
	writeTimerList({{0, 600}});
	auto window = openWindow();
	EXPECT_EQ(0, window->exec());

	EXPECT_EQ(3, TIMEREVENT);
	EXPECT_TRUE(eServiceInterface::getInstance()->isRunning());
	window.reset();
	EXPECT_EQ(0, servicesStarted);
}

TEST_F(TimerGuardTest, AFarRecordingIsLookedAtAgainEveryFourMinutes)
{
	writeTimerList({{1200, 3600}}, "#LAST_ACTIVATION 1699990000\n");
	auto window = openBrowser();
	EXPECT_EQ(std::vector<eString>{unjudgedBox}, watcher->summary());
	EXPECT_EQ(0, TIMEREVENT);

	// Four minutes later the recording is 960 s ahead: another look is due.
	receiverNow += 240;
	ASSERT_TRUE(runUntilTrue([&] { return host.clock().nowMs() >= 241000; }, 1000));
	EXPECT_EQ(1u, host.logCount("[quelt]: next event in: 960s"));
	EXPECT_TRUE(window->recheckTimer->isActive());

	// Another eight minutes on, it is 480 s ahead and the plug-in closes.
	receiverNow += 480;
	int64_t closeAt = 481000 + 5000 + 1000;
	runInside(*window, [&] { runUntilTrue([&] { return TIMEREVENT == 1 && !window->shutdownTimer->isActive(); }); });
	EXPECT_EQ(closeAt, host.clock().nowMs());
	EXPECT_EQ((std::vector<eString>{unjudgedBox, closeSoonBox}), watcher->summary()) << "the warning comes once";
}

TEST_F(TimerGuardTest, TheFirstRunTakesTheReceiverOver)
{
	installPictureTool();
	eConfig::getInstance()->setKey(configkey::volume, 20);
	eAVSwitch::getInstance()->volume = 10;

	auto window = openBrowser();

	EXPECT_EQ(20, quelt_volume);
	EXPECT_EQ(20, volu);
	EXPECT_EQ(20, currVol);
	EXPECT_EQ(10, tv_volume);
	EXPECT_EQ(20, eAVSwitch::getInstance()->volume);
	EXPECT_FALSE(eServiceInterface::getInstance()->isRunning());
	EXPECT_EQ("Das Erste", window->savedService.descr);
	EXPECT_EQ(1u, picturesShown(1));
	EXPECT_FALSE(host.logContains("[quelt]: year:")) << "no timers: the list is not read";
}
} // namespace
