// The settings window: what it shows of the stored keys, and what it stores.

#include <gtest/gtest.h>

#include <memory>

#include "config/configkeys.h"
#include "host/echeckbox.h"
#include "host/elabel.h"
#include "host/enumber.h"
#include "host/eslider.h"
#include "host/paths.h"
#include "windows/equeltsettings.h"
#include "windows/windowsfixture.h"

namespace
{
using namespace windowstest;

class SettingsTest : public WindowTest
{
protected:
	void SetUp() override
	{
		WindowTest::SetUp();
		// As the main window leaves them after loading a store without the
		// keys: continuous play on, no info line.
		AUTOPLAY = 1;
		AUTOINFO = 0;
	}

	std::unique_ptr<eQUELTSettings> open()
	{
		auto window = std::make_unique<eQUELTSettings>();
		window->show();
		return window;
	}

	static void store(const char *key, int value) { eConfig::getInstance()->setKey(key, value); }
};

TEST_F(SettingsTest, ControlsStandWhereTheyBelong)
{
	auto window = open();
	EXPECT_EQ("QUELT Settings", window->getText());
	EXPECT_EQ(eRect(90, 110, 550, 390), window->getAbsoluteClientRect());
	struct
	{
		const eWidget *widget;
		eRect place;
		const char *text;
	} const controls[] = {
		{window->bufferLabel, {20, 20, 170, 24}, "Buffersize [64%]:"},
		{window->bufferSlider, {200, 20, 220, 24}, ""},
		{window->continuousPlay, {20, 50, 250, 35}, "Continous Play"},
		{window->intervalInfos, {20, 100, 350, 35}, "Interval Infos"},
		{l_delay, {455, 100, 300, 35}, ":"},
		{infoDelay, {460, 100, 65, 35}, "5"},
		{l_servset, {20, 150, 300, 35}, "Current Server Set:"},
		{c_servset, {460, 150, 65, 35}, "1"},
	};
	for (const auto &c : controls)
	{
		EXPECT_EQ(c.place, eRect(c.widget->getPosition(), c.widget->getSize())) << c.text;
		EXPECT_EQ(c.text, c.widget->getText());
	}
	EXPECT_EQ(window->bufferSlider, window->search("sbsize"));
	EXPECT_EQ("change streaming Buffersize", window->bufferSlider->getHelpText());
	EXPECT_EQ("no helptext yet", infoDelay->getHelpText());
	EXPECT_EQ("current server set", c_servset->getHelpText());
	EXPECT_EQ(window->bufferSlider, window->getFocus());
}

TEST_F(SettingsTest, OpensWithTheStoredBufferSizeWhenItIsInRange)
{
	struct
	{
		int stored; // -1: absent
		int shown;
		const char *label;
	} const cases[] = {
		{-1, 16, "Buffersize [64%]:"}, {16, 16, "Buffersize [64%]:"}, {3, 16, "Buffersize [64%]:"},
		{26, 16, "Buffersize [64%]:"}, {4, 4, "Buffersize [16%]:"}, {25, 25, "Buffersize [100%]:"},
	};
	for (const auto &c : cases)
	{
		eConfig::getInstance()->delKey(configkey::buffersize);
		if (c.stored >= 0)
			store(configkey::buffersize, c.stored);
		{
			auto window = open();
			EXPECT_EQ(c.shown, window->bufferSlider->getValue()) << c.stored;
			EXPECT_EQ(c.label, window->bufferLabel->getText()) << c.stored;
		}
		// Closing without a touch stores what was shown.
		EXPECT_EQ(c.shown, intKey(configkey::buffersize, -1)) << c.stored;
	}
}

TEST_F(SettingsTest, TheSliderStoresItsValueAtOnce)
{
	{
		auto window = open();
		press(RcKey::left, 14);
		EXPECT_EQ(2, window->bufferSlider->getValue());
		EXPECT_EQ("Buffersize [8%]:", window->bufferLabel->getText());
		// Stored and written out before the window closes.
		EXPECT_EQ(2, intKey(configkey::buffersize, -1));
		eConfig onDisk;
		ASSERT_EQ(0, onDisk.open(eConfig::getInstance()->file()));
		int written = -1;
		onDisk.getKey(configkey::buffersize, written);
		EXPECT_EQ(2, written);
	}
	EXPECT_EQ(2, intKey(configkey::buffersize, -1));
	// Below the range the store holds: the next window starts from the default.
	auto again = open();
	EXPECT_EQ(16, again->bufferSlider->getValue());
}

TEST_F(SettingsTest, TheIntervalIsStoredInMinutesAndUsedInMilliseconds)
{
	struct
	{
		std::initializer_list<RcKey> digits;
		int stored, delay;
	} const cases[] = {
		{{RcKey::digit0}, 5, 300000},
		{{RcKey::digit7}, 7, 420000},
		{{RcKey::digit1, RcKey::digit2}, 12, 720000},
		{{}, 3, 180000}, // as stored
	};
	for (const auto &c : cases)
	{
		store(configkey::autoinfo, 1);
		store(configkey::infodelay, 3);
		{
			auto window = open();
			ASSERT_TRUE(infoDelay->isVisibleOnScreen());
			window->setFocus(infoDelay);
			press(c.digits);
		}
		EXPECT_EQ(c.stored, intKey(configkey::infodelay, -1));
		EXPECT_EQ(c.delay, INFODELAY);
		EXPECT_EQ(1, AUTOINFO);
	}
}

TEST_F(SettingsTest, IntervalInfosShowsAndHidesTheInterval)
{
	auto window = open();
	EXPECT_EQ(0, window->intervalInfos->isChecked());
	EXPECT_FALSE(infoDelay->isVisible());
	EXPECT_FALSE(l_delay->isVisible());

	window->setFocus(window->intervalInfos);
	press({RcKey::ok});
	EXPECT_EQ("Interval Infos. Timeinterval", window->intervalInfos->getText());
	EXPECT_TRUE(infoDelay->isVisible());
	EXPECT_TRUE(l_delay->isVisible());

	press({RcKey::ok});
	EXPECT_EQ("Interval Infos", window->intervalInfos->getText());
	EXPECT_FALSE(infoDelay->isVisible());
	EXPECT_FALSE(l_delay->isVisible());
}

TEST_F(SettingsTest, EveryChangeOfTheServerSetAsksForARestart)
{
	struct
	{
		const char *name;
		std::initializer_list<RcKey> digits;
		int stored;
		size_t boxes;
	} const cases[] = {
		{"unchanged", {}, 2, 0},
		{"set 0", {RcKey::digit0}, 1, 1},
		{"set 3", {RcKey::digit3}, 3, 1},
		{"0, then 3", {RcKey::digit0, RcKey::digit3}, 3, 2},
		{"one step down", {RcKey::left}, 1, 1},
	};
	for (const auto &c : cases)
	{
		store(configkey::checkset, 2);
		BoxWatcher boxes(host.loop());
		KeyQueue answers(&host.loop());
		for (size_t i = 0; i < c.boxes; ++i)
			answers.push(RcKey::ok);
		{
			auto window = open();
			window->setFocus(c_servset);
			press(c.digits);
		}
		EXPECT_EQ(c.stored, intKey(configkey::checkset, -1)) << c.name;
		ASSERT_EQ(c.boxes, boxes.messages.size()) << c.name;
		for (size_t i = 0; i < c.boxes; ++i)
		{
			EXPECT_EQ("You have to restart QUELT to take effect of changes", boxes.messages[i]);
			EXPECT_EQ("Info", boxes.captions[i]);
			EXPECT_EQ(17, boxes.flags[i]);
		}
		EXPECT_EQ(0u, answers.pending()) << c.name;
	}
}

TEST_F(SettingsTest, ClosingStoresEveryValueAndRemovesTheObsoleteKeys)
{
	// A switch without a stored value shows, and so saves, what the plug-in
	// does at the moment.
	struct
	{
		int stored;  // -1: absent, for both switches
		int running; // AUTOPLAY and AUTOINFO as the window opens
		int saved;
	} const cases[] = {{-1, 7, 1}, {-1, 0, 0}, {1, 0, 1}, {0, 7, 0}};
	for (const auto &c : cases)
	{
		for (const char *key : {configkey::autoplay, configkey::autoinfo, configkey::infodelay, configkey::checkset,
				 configkey::buffersize})
			eConfig::getInstance()->delKey(key);
		if (c.stored >= 0)
		{
			store(configkey::autoplay, c.stored);
			store(configkey::autoinfo, c.stored);
		}
		store(configkey::mainOS, 1);
		eConfig::getInstance()->setKey(configkey::vlcVersion, "0.8.6");
		AUTOPLAY = AUTOINFO = c.running;
		{
			auto window = open();
			EXPECT_EQ(c.saved, window->continuousPlay->isChecked());
			EXPECT_EQ(c.saved, window->intervalInfos->isChecked());
		}
		EXPECT_EQ(c.saved, intKey(configkey::autoplay, -1));
		EXPECT_EQ(c.saved, intKey(configkey::autoinfo, -1));
		EXPECT_EQ(c.saved, AUTOPLAY);
		EXPECT_EQ(c.saved, AUTOINFO);
		EXPECT_EQ(5, intKey(configkey::infodelay, -1));
		EXPECT_EQ(300000, INFODELAY);
		EXPECT_EQ(1, intKey(configkey::checkset, -1));
		EXPECT_EQ(16, intKey(configkey::buffersize, -1));
		EXPECT_FALSE(hasKey(configkey::mainOS));
		EXPECT_FALSE(hasKey(configkey::vlcVersion));
	}
}

TEST_F(SettingsTest, RunsUntilExitAndSavesOnTheWayOut)
{
	store(configkey::autoplay, 0);
	KeyQueue keys(&host.loop());
	keys.push({RcKey::right, RcKey::down, RcKey::ok, RcKey::exit});

	eQUELTSettings::run();

	EXPECT_EQ(0u, keys.pending());
	EXPECT_EQ(17, intKey(configkey::buffersize, -1));
	EXPECT_EQ(1, intKey(configkey::autoplay, -1));
	EXPECT_EQ(1, AUTOPLAY);
	EXPECT_EQ(nullptr, c_servset);
}
} // namespace
