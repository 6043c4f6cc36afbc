// The main window's remote-control keys in both states of the window: what each
// key asks of VLC, which boxes and windows it shows and what it changes.

#include <functional>
#include <optional>

#include "host/decoder.h"
#include "host/ezaplcd.h"
#include "session/sessionfixture.h"

namespace
{
using namespace sessiontest;

class KeyTest : public SessionTest
{
protected:
	// The requests VLC received: a command by its name and arguments, a listing
	// as "browse" and its directory; status reads are left out.
	std::vector<eString> requestsSent() const
	{
		std::vector<eString> out;
		for (const eString &target : vlc.targets())
		{
			if (target.find("command=") != eString::npos)
				out.push_back(target.mid(target.find("command=") + 8));
			else if (target.find("browse.xml?dir=") != eString::npos)
				out.push_back("browse " + target.mid(target.find("dir=") + 4));
		}
		return out;
	}

	// The window as a row starts it: browsing or parked, the engine's status set.
	std::unique_ptr<eQUELT> windowIn(bool parked, int status)
	{
		auto window = openBrowser();
		if (parked)
			window->park();
		engine->status = status;
		loadFile = "a.mpg";
		watcher->clear();
		Decoder::clearHistory();
		return window;
	}

	static int send(eQUELT &window, const eAction *action)
	{
		return window.eventHandler(eWidgetEvent(eWidgetEvent::evtAction, action));
	}

	// Every box of the key handling has the OK button and the information icon,
	// and closes by itself: the confirmations after 3 seconds, the shut-down
	// texts after 4.
	void expectTimedBoxes() const
	{
		for (const ShownModal &m : watcher->shown)
		{
			if (m.className != "eMessageBox")
				continue;
			EXPECT_EQ(17, m.flags) << m.text;
			EXPECT_EQ(m.title == "ShutDown Info" ? 4 : 3, m.timeout) << m.text;
		}
	}
};

const eString seekBox6 = "Seek Info: Press RED to jump 6 minute(s) reverse, or\nPress BLUE to jump 6 minute(s) forward";
const eString skipBox = "Skip Info: Press RED to skip reverse, or\nPress BLUE to skip forward";
const std::vector<eString> stopRequests = {"pl_stop", "pl_empty", "pl_empty"};

struct KeyCase
{
	const char *name;
	const eAction *action;
	bool parked;
	int status;
	std::function<void(eQUELT &)> setup;
	int taken;
	std::vector<eString> requests;
	std::vector<eString> shown;
	std::function<void(eQUELT &)> check;
};

TEST_F(KeyTest, EveryKeyInBothStates)
{
	const cursorActions *c = i_cursorActions;
	shortcutActions *s = i_shortcutActions;
	const int IDLE = STATUS_IDLE, PLAYING = STATUS_PLAYING, PAUSED = STATUS_PAUSED;
	auto none = [](eQUELT &) {};
	auto offline = [](eQUELT &) { CONNECTION = false; };
	auto seekBy3 = [](eQUELT &) { jump = jump_old = 3; };
	auto skipAt = [](int index) {
		return [index](eQUELT &w) {
			seekskip = true;
			w.currentIndex = index;
		};
	};
	// The infobar needs the skin's layout, or it closes before it is up.
	auto withInfobarLayout = [this](eQUELT &) {
		addSkin("<layout name=\"ezap_main\" position=\"0,376\" size=\"720,200\"></layout>\n");
	};
	auto withVolumeShown = [](eQUELT &w) {
		eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, 20);
		ASSERT_TRUE(volumeIsVisible);
	};

	const KeyCase cases[] = {
		// -- Exit in its three cases.
		{"exitParkedStopsTheStream", &c->cancel, true, PLAYING, none, 1, stopRequests, {},
			[](eQUELT &w) {
				EXPECT_TRUE(w.menuVisible);
				EXPECT_TRUE(waitStart);
				EXPECT_TRUE(w.waitTimer->isActive());
				EXPECT_EQ(5000, w.waitTimer->interval());
				EXPECT_FALSE(w.playTimer->isActive());
				EXPECT_EQ(STATUS_IDLE, eQUELTEngine::getInstance()->status.load());
				EXPECT_EQ("a.mpg", eZapLCD::getInstance()->lcdMain->serviceName());
			}},
		{"exitParkedWithTheVolumeShownOnlyHidesIt", &c->cancel, true, PLAYING, withVolumeShown, 1, {}, {},
			[](eQUELT &w) {
				EXPECT_FALSE(volumeIsVisible);
				EXPECT_FALSE(w.volumeGraphic.isVisible());
				EXPECT_FALSE(w.menuVisible);
				EXPECT_FALSE(waitStart);
			}},
		{"exitBrowsingWhilePlayingParks", &c->cancel, false, PLAYING, none, 1, {}, {},
			[](eQUELT &w) { EXPECT_FALSE(w.menuVisible); }},
		{"exitBrowsingClosesThePlugin", &c->cancel, false, IDLE, [](eQUELT &) { quelt_volume = 17; }, 1, {}, {},
			[](eQUELT &w) {
				int stored = -1;
				eConfig::getInstance()->getKey(configkey::volume, stored);
				EXPECT_EQ(17, stored);
			}},
		// -- OK, up and down belong to the list unless a parked stream plays.
		{"okBrowsing", &c->ok, false, PLAYING, none, 0, {}, {}, none},
		{"okParkedIdle", &c->ok, true, IDLE, none, 0, {}, {}, none},
		{"okParkedPlayingOpensTheInfobar", &c->ok, true, PLAYING, withInfobarLayout, 1, {}, {"infobar"}, none},
		{"upBrowsing", &c->up, false, PLAYING, none, 0, {}, {}, none},
		{"upParkedPlayingOpensTheStreamWindow", &c->up, true, PLAYING, none, 1, {}, {"StreamInfo"}, none},
		{"downParkedPaused", &c->down, true, PAUSED, none, 0, {}, {}, none},
		{"downParkedPlayingBringsTheBrowserBack", &c->down, true, PLAYING, none, 1, {}, {},
			[](eQUELT &w) { EXPECT_TRUE(w.menuVisible); }},
		{"helpBrowsing", &c->help, false, IDLE, none, 1, {}, {"Help"}, none},
		{"helpParked", &c->help, true, PLAYING, none, 1, {}, {"Help"}, none},
		{"leftIsNeverTaken", &c->left, true, PLAYING, none, 0, {}, {}, none},
		{"pageDownIsNeverTaken", &i_listActions->pagedown, false, IDLE, none, 0, {}, {}, none},
		// -- Colour keys while browsing: the listings and the settings.
		{"redBrowsingListsTheStartDirectory", &s->red, false, IDLE, none, 1, {"browse %2fmedia%2ffilms"}, {},
			[](eQUELT &w) { EXPECT_EQ(LIST_FILE, w.listMode); }},
		{"greenBrowsingListsTheDvd", &s->green, false, IDLE, none, 1, {}, {},
			[](eQUELT &w) { EXPECT_EQ(LIST_DVD, w.listMode); }},
		{"yellowBrowsingListsTheVcd", &s->yellow, false, IDLE, none, 1, {}, {},
			[](eQUELT &w) { EXPECT_EQ(LIST_VCD, w.listMode); }},
		{"blueBrowsingOpensTheSettings", &s->blue, false, IDLE, none, 1, {}, {"QUELT Settings"}, none},
		{"rightBrowsingDoesNothing", &c->right, false, IDLE, none, 1, {}, {}, [](eQUELT &) { EXPECT_FALSE(AC_3); }},
		// -- Without a connection the keys that talk to VLC go to the host.
		{"redOffline", &s->red, false, IDLE, offline, 0, {}, {}, none},
		{"greenOffline", &s->green, true, PLAYING, offline, 0, {}, {}, none},
		{"yellowOffline", &s->yellow, true, PLAYING, offline, 0, {}, {}, none},
		{"rightOffline", &c->right, true, PLAYING, offline, 0, {}, {}, [](eQUELT &) { EXPECT_FALSE(AC_3); }},
		{"blueOfflineStillOpensTheSettings", &s->blue, false, IDLE, offline, 1, {}, {"QUELT Settings"}, none},
		// -- Seek and skip while a parked stream plays.
		{"redSeeksBack", &s->red, true, PLAYING, seekBy3, 1, {"seek&val=%2D3m"},
			{"Seek Info: Seeking 3 min. reverse, please wait...."}, [](eQUELT &) { EXPECT_EQ(-3, seek); }},
		{"blueSeeksOn", &s->blue, true, PLAYING, seekBy3, 1, {"seek&val=%2B3m"},
			{"Seek Info: Seeking 3 min. forward, please wait..."}, [](eQUELT &) { EXPECT_EQ(3, seek); }},
		{"redSkipsBack", &s->red, true, PLAYING, skipAt(3), 1, {"pl_stop"},
			{"Skip Info: Skipping reverse, please wait ..."}, [](eQUELT &w) { EXPECT_EQ(2, w.currentIndex); }},
		{"redSkipsNotBeforeTheFirstFile", &s->red, true, PLAYING, skipAt(1), 1, {}, {},
			[](eQUELT &w) { EXPECT_EQ(1, w.currentIndex); }},
		{"blueSkipsOn", &s->blue, true, PLAYING, skipAt(1), 1, {"pl_stop"},
			{"Skip Info: Skipping forward, please wait..."}, [](eQUELT &w) { EXPECT_EQ(1, w.currentIndex); }},
		{"redParkedIdleDoesNothing", &s->red, true, IDLE, seekBy3, 1, {}, {}, [](eQUELT &) { EXPECT_EQ(0, seek); }},
		{"blueParkedPausedDoesNothing", &s->blue, true, PAUSED, seekBy3, 1, {}, {},
			[](eQUELT &) { EXPECT_EQ(0, seek); }},
		// -- Pause, resume and the end-of-list action.
		{"yellowPauses", &s->yellow, true, PLAYING, none, 1, {"pl_pause"}, {},
			[](eQUELT &w) {
				EXPECT_EQ(STATUS_PAUSED, eQUELTEngine::getInstance()->status.load());
				EXPECT_TRUE(w.pauseBox->isVisible());
				EXPECT_FALSE(paused);
			}},
		{"yellowResumes", &s->yellow, true, PAUSED, none, 1, {"pl_pause"}, {},
			[](eQUELT &) {
				EXPECT_TRUE(paused);
				EXPECT_EQ(STATUS_PAUSED, eQUELTEngine::getInstance()->status.load());
			}},
		{"greenResumes", &s->green, true, PAUSED, none, 1, {"pl_pause"}, {}, [](eQUELT &) { EXPECT_TRUE(paused); }},
		{"yellowParkedIdleDoesNothing", &s->yellow, true, IDLE, none, 1, {}, {},
			[](eQUELT &) { EXPECT_EQ(STATUS_IDLE, eQUELTEngine::getInstance()->status.load()); }},
		{"greenSetsTheNextShutDownMode", &s->green, true, PLAYING, none, 1, {},
			{"ShutDown Info: After reaching Playlists End, your dreambox will restart Enigma"},
			[](eQUELT &) { EXPECT_EQ(1, shutDown); }},
		{"greenParkedIdleDoesNothing", &s->green, true, IDLE, none, 1, {}, {}, [](eQUELT &) { EXPECT_EQ(0, shutDown); }},
		// -- Digits: the seek distance, or the start offset while browsing.
		{"fiveBrowsingSetsTheDistance", s->number(5), false, IDLE, none, 1, {}, {seekBox6},
			[](eQUELT &) {
				EXPECT_EQ(6, jump);
				EXPECT_EQ(6, JumpInMinutes);
				EXPECT_FALSE(sMode);
			}},
		{"oneParkedAddsToTheDistance", s->number(1), true, PLAYING, none, 1, {},
			{"Seek Info: Press RED to jump 2 minute(s) reverse, or\nPress BLUE to jump 2 minute(s) forward"},
			[](eQUELT &) { EXPECT_EQ(2, jump); }},
		{"nineEntersSkipMode", s->number(9), true, PLAYING, none, 1, {}, {skipBox},
			[](eQUELT &) {
				EXPECT_TRUE(seekskip);
				EXPECT_TRUE(sMode);
				EXPECT_EQ(1, jump);
			}},
		{"threeBrowsingMovesTheStartOffset", s->number(3), false, IDLE,
			[](eQUELT &w) {
				w.currentIndex = 1;
				w.playList[1].startOffset = 55;
			},
			1, {}, {},
			[](eQUELT &w) {
				EXPECT_EQ(60, w.playList[1].startOffset);
				EXPECT_EQ(1u, w.fileList->getHelpText().find("tartoffset: 60min."));
				EXPECT_EQ(1, jump);
			}},
	};

	for (const KeyCase &k : cases)
	{
		SCOPED_TRACE(k.name);
		resetPluginGlobals();
		auto window = windowIn(k.parked, k.status);
		k.setup(*window);
		vlc.clearRequests();
		watcher->clear();

		EXPECT_EQ(k.taken, send(*window, k.action));

		EXPECT_EQ(k.requests, requestsSent());
		EXPECT_EQ(k.shown, watcher->summary());
		expectTimedBoxes();
		k.check(*window);
		window.reset();
		engine->status = STATUS_IDLE;
	}
}

TEST_F(KeyTest, StartOffsetsMoveOnlyWithinTheirLimits)
{
	struct Case
	{
		int digit;
		int before;
		int after;
	} cases[] = {{1, 4, 4}, {1, 5, 0}, {3, 55, 60}, {4, 0, 0}, {4, 1, 0}, {6, 0, 1}};
	auto window = windowIn(false, STATUS_IDLE);
	window->currentIndex = 1;
	for (const Case &c : cases)
	{
		SCOPED_TRACE(eString::format("digit %d on %d", c.digit, c.before));
		window->playList[1].startOffset = c.before;
		send(*window, i_shortcutActions->number(c.digit));
		EXPECT_EQ(c.after, window->playList[1].startOffset);
	}
	// The ".." entry has no offset; without a connection nothing moves.
	window->currentIndex = 0;
	send(*window, i_shortcutActions->number(3));
	EXPECT_EQ(0, window->playList[0].startOffset);
	window->currentIndex = 1;
	CONNECTION = false;
	send(*window, i_shortcutActions->number(3));
	EXPECT_EQ(1, window->playList[1].startOffset);
	EXPECT_TRUE(watcher->shown.empty());
}

TEST_F(KeyTest, SeekDistanceSequences)
{
	struct Case
	{
		const char *name;
		std::vector<int> digits;
		int jump;
		bool skip;
		std::vector<eString> boxes; // the titles, in order
	} cases[] = {
		{"twoRaisesSilentlyUntilPastNine", {2, 2, 2, 2, 2}, 11, false, {"Seek Info"}},
		{"twoOnceGivesThreeWithoutABox", {2}, 3, false, {}},
		{"digitsAddUp", {3, 5}, 9, false, {"Seek Info", "Seek Info"}},
		{"zeroAtOneShowsNothing", {0}, 1, false, {}},
		{"zeroStartsAgainAtOne", {7, 0}, 1, false, {"Seek Info", "Seek Info"}},
		{"nineTwiceShowsTheSkipBoxTwice", {9, 9}, 1, true, {"Skip Info", "Skip Info"}},
		{"aNewDistanceLeavesSkipMode", {9, 5}, 6, false, {"Skip Info", "Seek Info"}},
		{"zeroAtOneStaysInSkipMode", {9, 0}, 1, true, {"Skip Info"}},
	};
	for (const Case &c : cases)
	{
		SCOPED_TRACE(c.name);
		resetPluginGlobals();
		auto window = windowIn(true, STATUS_PLAYING);
		for (int digit : c.digits)
			send(*window, i_shortcutActions->number(digit));
		EXPECT_EQ(c.jump, jump);
		EXPECT_EQ(c.skip, seekskip);
		EXPECT_EQ(c.boxes, watcher->titles());
		EXPECT_FALSE(jump_changed);
		window.reset();
		engine->status = STATUS_IDLE;
	}
}

TEST_F(KeyTest, GreenCyclesTheShutDownModes)
{
	auto window = windowIn(true, STATUS_PLAYING);
	for (int i = 0; i < 4; ++i)
		send(*window, &i_shortcutActions->green);
	EXPECT_EQ((std::vector<eString>{
				  "ShutDown Info: After reaching Playlists End, your dreambox will restart Enigma",
				  "ShutDown Info: After reaching Playlists End, your dreambox will restart itself",
				  "ShutDown Info: After reaching Playlists End, your dreambox will shut Down",
				  "ShutDown Info: ShutDown Function disabled",
			  }),
		watcher->summary());
	EXPECT_EQ(0, shutDown);
	engine->status = STATUS_IDLE;
}

TEST_F(KeyTest, RightTogglesTheAc3SoundByTheStreamsName)
{
	struct Case
	{
		const char *file;
		int audioType;
	} cases[] = {{"film.vob", 3}, {"dvdsimple://D:@2", 3}, {"film.VOB", 1}, {"movie.avi", 1}, {"vob", 3}, {"", 1}};
	auto window = windowIn(true, STATUS_IDLE);
	for (const Case &c : cases)
	{
		SCOPED_TRACE(c.file);
		loadFile = c.file;
		send(*window, &i_cursorActions->right);
		EXPECT_TRUE(AC_3);
		EXPECT_EQ(c.audioType, Decoder::parms.audio_type);
		send(*window, &i_cursorActions->right);
		EXPECT_FALSE(AC_3);
		EXPECT_EQ(0, Decoder::parms.audio_type);
	}
	EXPECT_EQ(2 * std::size(cases), decoderCalls("Set "));
}

TEST_F(KeyTest, ExitStoppingAStreamShowsTheBackgroundPicture)
{
	installPictureTool();
	auto window = windowIn(true, STATUS_PLAYING);
	size_t before = picturesShown(1);
	send(*window, &i_cursorActions->cancel);
	EXPECT_EQ(before + 1, picturesShown(before + 1));
}
} // namespace
