#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "host/actions.h"
#include "host/echeckbox.h"
#include "host/elistbox.h"
#include "host/emessagebox.h"
#include "host/enumber.h"
#include "host/eslider.h"
#include "host/ewindow.h"
#include "host/widgetdump.h"
#include "support/hostfixture.h"

namespace
{
// A window in the manner of a plug-in's main window: its own handler sees every
// key first and takes red (and up, when told to); a list fills the window.
class MainWindow : public eWindow
{
public:
	std::vector<eString> seen;
	std::vector<int> selChanged;
	std::vector<int> chosen;
	bool takeUp = false;
	eListBox<eListBoxEntryText> *list;

	MainWindow()
	{
		addActionMap(&i_shortcutActions->map);
		addActionMap(&i_cursorActions->map);
		addActionMap(&i_listActions->map);
		cmove(ePoint(75, 75));
		cresize(eSize(600, 440));
		list = new eListBox<eListBoxEntryText>(this);
		list->move(ePoint(10, 30));
		list->resize(eSize(580, 2 * eListBoxEntryText::getEntryHeight()));
		for (const char *name : {"..", "Movies", "a.avi", "b.avi", "c.avi"})
			new eListBoxEntryText(list, name);
		list->selchanged.connect([this](eListBoxEntryText *e) { selChanged.push_back(list->indexOf(e)); });
		list->selected.connect([this](eListBoxEntryText *e) { chosen.push_back(list->indexOf(e)); });
		list->show();
	}

	int eventHandler(const eWidgetEvent &event) override
	{
		if (event.type == eWidgetEvent::evtAction)
		{
			seen.push_back(event.action->getIdentifier());
			if (event.action == &i_shortcutActions->red)
				return 1;
			if (event.action == &i_cursorActions->up && takeUp)
				return 1;
		}
		return eWindow::eventHandler(event);
	}
};

struct KeysTest : ::testing::Test
{
	HostFixture host;
	Watchdog watchdog{60, "keys test"};
};

TEST_F(KeysTest, AKeyReachesTheWindowFirstAndThenItsFocusedList)
{
	host.loop();
	KeyQueue keys;
	MainWindow window;
	keys.push({RcKey::down, RcKey::down, RcKey::up, RcKey::red, RcKey::left, RcKey::ok, RcKey::exit});
	EXPECT_EQ(window.exec(), -1);

	EXPECT_EQ(window.selChanged, (std::vector<int>{1, 2, 1, 0}));
	EXPECT_EQ(window.chosen, (std::vector<int>{0}));
	// Left is the cursor's left and the list's page-up; the window passes on both.
	EXPECT_EQ(window.seen, (std::vector<eString>{"down", "down", "up", "red", "left", "pageup", "ok", "cancel"}));
	EXPECT_EQ(keys.pending(), 0u);
}

TEST_F(KeysTest, AKeyTheWindowUsesNeverReachesTheList)
{
	MainWindow window;
	window.show();
	window.takeUp = true;
	ASSERT_EQ(KeyRouter::deliver(RcKey::down), 1);
	ASSERT_EQ(KeyRouter::deliver(RcKey::up), 1);
	EXPECT_EQ(window.list->getCurrentIndex(), 1);
	EXPECT_EQ(window.selChanged, (std::vector<int>{1}));
}

TEST_F(KeysTest, ListMovesClampAtBothEnds)
{
	struct Case
	{
		std::vector<RcKey> keys;
		int current;
		size_t signals;
	};
	// Five entries, two rows to a page.
	const Case cases[] = {
		{{RcKey::up}, 0, 0},
		{{RcKey::down, RcKey::down, RcKey::down, RcKey::down, RcKey::down, RcKey::down}, 4, 4},
		{{RcKey::right}, 2, 1},
		{{RcKey::right, RcKey::right, RcKey::right}, 4, 2},
		{{RcKey::right, RcKey::left}, 0, 2},
		{{RcKey::down, RcKey::left}, 0, 2},
	};
	for (const Case &c : cases)
	{
		MainWindow window;
		window.show();
		for (RcKey key : c.keys)
			KeyRouter::deliver(key);
		EXPECT_EQ(window.list->getCurrentIndex(), c.current) << "case starting " << rcKeyName(c.keys[0]);
		EXPECT_EQ(window.selChanged.size(), c.signals) << "case starting " << rcKeyName(c.keys[0]);
	}
}

TEST_F(KeysTest, AModalMessageBoxWithATimeoutClosesByItself)
{
	host.loop();
	eMessageBox box("Seek Mode activated", "Information", 17, 1, 3);
	box.show();
	EXPECT_EQ(box.exec(), 1);
	EXPECT_EQ(host.clock().nowMs(), 3000);
	EXPECT_FALSE(box.isModal());
}

TEST_F(KeysTest, AQueuedKeyAnswersAModalMessageBox)
{
	struct Case
	{
		std::vector<RcKey> keys;
		int flags, def, result;
	};
	const Case cases[] = {
		{{RcKey::ok}, 17, 1, eMessageBox::btOK},
		{{RcKey::exit}, 17, 1, -1},
		{{RcKey::right, RcKey::ok}, eMessageBox::btYes | eMessageBox::btNo, eMessageBox::btYes, eMessageBox::btNo},
		{{RcKey::ok}, eMessageBox::btYes | eMessageBox::btNo, eMessageBox::btNo, eMessageBox::btNo},
		{{RcKey::ok}, 16, 1, 1},
	};
	host.loop();
	KeyQueue keys;
	for (const Case &c : cases)
	{
		eMessageBox box("Change?", "Question", c.flags, c.def, 5);
		for (RcKey k : c.keys)
			keys.push(k);
		int64_t before = host.clock().nowMs();
		EXPECT_EQ(box.exec(), c.result) << "flags " << c.flags;
		// Answered before the timeout.
		EXPECT_EQ(host.clock().nowMs(), before);
	}
}

TEST_F(KeysTest, AMessageBoxOverAWindowTakesTheKeysUntilItCloses)
{
	host.loop();
	KeyQueue keys;
	struct Window : MainWindow
	{
		int answer = 0;
		eString screenWhileAsking;
		int eventHandler(const eWidgetEvent &event) override
		{
			if (event.type == eWidgetEvent::evtAction && event.action == &i_shortcutActions->blue)
			{
				seen.push_back("blue");
				eMessageBox box("You have to restart QUELT", "Info", 17, 1, 0);
				box.show();
				screenWhileAsking = WidgetDump::screen();
				answer = box.exec();
				box.hide();
				return 1;
			}
			return MainWindow::eventHandler(event);
		}
	} window;
	keys.push({RcKey::blue, RcKey::down, RcKey::ok, RcKey::exit});
	EXPECT_EQ(window.exec(), -1);
	// The box took down and ok; the window saw blue and, after the box, exit.
	EXPECT_EQ(window.answer, 1);
	EXPECT_EQ(window.seen, (std::vector<eString>{"blue", "cancel"}));
	EXPECT_TRUE(window.selChanged.empty());
	EXPECT_NE(window.screenWhileAsking.find("eWindow"), eString::npos);
	EXPECT_GT(window.screenWhileAsking.find("eMessageBox"), window.screenWhileAsking.find("eWindow"));
}

TEST_F(KeysTest, VolumeKeysGoToTheVolumeHandlerNotToWidgets)
{
	std::vector<RcKey> volume;
	KeyRouter::setVolumeHandler([&volume](RcKey k) { volume.push_back(k); });
	MainWindow window;
	window.show();
	for (RcKey k : {RcKey::volumeUp, RcKey::volumeDown, RcKey::mute})
		EXPECT_EQ(KeyRouter::deliver(k), 1);
	EXPECT_EQ(volume, (std::vector<RcKey>{RcKey::volumeUp, RcKey::volumeDown, RcKey::mute}));
	EXPECT_TRUE(window.seen.empty());
	KeyRouter::setVolumeHandler(nullptr);
}

TEST_F(KeysTest, SettingsControlsEditWithTheirKeysAndUpDownMoveTheFocus)
{
	eWindow window;
	eLabel descr(&window);
	auto *slider = new eSlider(&window, &descr, 0, 25);
	auto *check = new eCheckbox(&window, 0, 1);
	auto *number = new eNumber(&window, 1, 0, 99, 2, nullptr, 0, nullptr, 1);
	std::vector<int> sliderValues;
	int checkedSignals = 0, selectedSignals = 0, numberSignals = 0;
	slider->changed.connect([&](int v) { sliderValues.push_back(v); });
	check->checked.connect([&](int) { ++checkedSignals; });
	check->selected.connect([&] { ++selectedSignals; });
	number->numberChanged.connect([&] { ++numberSignals; });
	slider->setValue(24);
	window.show();

	for (RcKey k : {RcKey::right, RcKey::right, RcKey::right, RcKey::left})
		KeyRouter::deliver(k);
	EXPECT_EQ(slider->getValue(), 24);
	EXPECT_EQ(sliderValues, (std::vector<int>{25, 24}));
	EXPECT_EQ(slider->getPerc(), 96);

	KeyRouter::deliver(RcKey::down);
	EXPECT_EQ(window.getFocus(), check);
	KeyRouter::deliver(RcKey::ok);
	EXPECT_EQ(check->isChecked(), 1);
	EXPECT_EQ(checkedSignals, 1);
	EXPECT_EQ(selectedSignals, 1);

	KeyRouter::deliver(RcKey::down);
	EXPECT_EQ(window.getFocus(), number);
	for (RcKey k : {RcKey::digit4, RcKey::digit2})
		KeyRouter::deliver(k);
	EXPECT_EQ(number->getNumber(), 42);
	// A third digit starts the field afresh: it holds two digits at most.
	KeyRouter::deliver(RcKey::digit7);
	EXPECT_EQ(number->getNumber(), 7);
	EXPECT_EQ(numberSignals, 3);
	EXPECT_EQ(number->getText(), "7");

	KeyRouter::deliver(RcKey::down);
	EXPECT_EQ(window.getFocus(), slider);
	KeyRouter::deliver(RcKey::up);
	EXPECT_EQ(window.getFocus(), number);

	// A hidden control is passed over.
	window.setFocus(check);
	number->hide();
	KeyRouter::deliver(RcKey::down);
	EXPECT_EQ(window.getFocus(), slider);
}

TEST_F(KeysTest, ANumberStaysInItsRange)
{
	eWindow window;
	auto *number = new eNumber(&window, 1, 0, 4, 2, nullptr, 0, nullptr, 1);
	window.show();
	struct Case
	{
		std::vector<RcKey> keys;
		int result;
	};
	const Case cases[] = {
		{{RcKey::digit3}, 3},
		{{RcKey::digit9}, 4},
		{{RcKey::digit1, RcKey::digit2}, 4},
		{{RcKey::digit0, RcKey::left}, 0},
		{{RcKey::digit4, RcKey::right}, 4},
	};
	for (const Case &c : cases)
	{
		number->setNumber(1);
		window.setFocus(nullptr);
		window.setFocus(number);
		for (RcKey k : c.keys)
			KeyRouter::deliver(k);
		EXPECT_EQ(number->getNumber(), c.result) << rcKeyName(c.keys[0]);
	}
}

TEST_F(KeysTest, KeyNamesRoundTrip)
{
	for (int k = int(RcKey::ok); k <= int(RcKey::mute); ++k)
	{
		RcKey parsed;
		ASSERT_TRUE(parseRcKey(rcKeyName(RcKey(k)), parsed)) << k;
		EXPECT_EQ(parsed, RcKey(k));
	}
	RcKey key;
	EXPECT_TRUE(parseRcKey("EXIT", key));
	EXPECT_EQ(key, RcKey::exit);
	EXPECT_FALSE(parseRcKey("teleport", key));
}

TEST(KeyQueueThreads, AKeyPushedFromAnotherThreadWakesTheLoop)
{
	Watchdog watchdog(60, "key from another thread");
	eMainloop loop(std::make_shared<MonotonicClock>());
	eApp = &loop;
	KeyQueue keys(&loop);
	eMessageBox box("Quit?", "Question", 17, 1, 0);
	std::thread pusher([&keys] { keys.push(RcKey::ok); });
	EXPECT_EQ(box.exec(), 1);
	pusher.join();
	EXPECT_EQ(keys.deliveredCount(), 1);
}
} // namespace
