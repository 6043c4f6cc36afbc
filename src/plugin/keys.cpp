// The main window's remote-control keys, in both states of the window: while
// browsing (menuVisible) and while a stream plays with the window parked.

#include "browser/playlist.h"
#include "config/configkeys.h"
#include "engine/engine.h"
#include "host/actions.h"
#include "host/decoder.h"
#include "host/eavswitch.h"
#include "host/econfig.h"
#include "host/emessagebox.h"
#include "host/ezaplcd.h"
#include "host/platform.h"
#include "infobar/equeltinfo.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"
#include "session/backgroundpicture.h"
#include "windows/equelthelper.h"
#include "windows/equeltsettings.h"
#include "windows/equeltstream.h"

namespace
{
// After Exit has stopped a stream, a new start waits this long.
constexpr long restartDelayMs = 5000;
constexpr int confirmSeconds = 3;
constexpr int shutDownSeconds = 4;

// A box with an OK button that closes by itself; the texts are used as they
// stand, the title is translated.
void showInfoBox(const eString &text, const char *title, int timeoutSeconds)
{
	eMessageBox box(text, _(title), eMessageBox::btOK | eMessageBox::iconInfo, eMessageBox::btOK, timeoutSeconds);
	box.show();
	box.exec();
	box.hide();
}

// Digits raise the seek distance; a distance that differs from the one last
// confirmed is confirmed once the key is done. Digit 2 stays silent until the
// distance passes 9.
void addToSeekDistance(int digit)
{
	jump += digit;
	jump_changed = false;
	if (jump != jump_old && (digit != 2 || jump > 9))
	{
		jump_old = jump;
		jump_changed = true;
		seekskip = false;
	}
}

void setSeekDistance(int digit)
{
	if (digit == 0)
	{
		jump = 1;
		if (jump_old != 1)
		{
			jump_old = 1;
			jump_changed = true;
			seekskip = false;
		}
	}
	else if (digit == 9)
	{
		// Skip mode keeps the distance for a later return to seeking.
		jump_changed = true;
		seekskip = true;
	}
	else
		addToSeekDistance(digit);
}

// The end of every key the window takes: the confirmation of a new seek
// distance or of skip mode.
int confirmSeekMode()
{
	if (jump_changed && !seekskip)
	{
		JumpInMinutes = jump;
		jump_changed = false;
		showInfoBox(eString::format("Press RED to jump %d minute(s) reverse, or\nPress BLUE to jump %d minute(s) forward",
						jump, jump),
			"Seek Info", confirmSeconds);
		sMode = false;
	}
	else if (seekskip && jump_changed)
	{
		jump_changed = false;
		showInfoBox("Press RED to skip reverse, or\nPress BLUE to skip forward", "Skip Info", confirmSeconds);
		sMode = true;
	}
	return 1;
}

// The next end-of-list action, after 3 back to none, and what it means.
void nextShutDownMode()
{
	shutDown = shutDown >= 3 ? 0 : shutDown + 1;
	static const char *const texts[] = {
		"ShutDown Function disabled",
		"After reaching Playlists End, your dreambox will restart Enigma",
		"After reaching Playlists End, your dreambox will restart itself",
		"After reaching Playlists End, your dreambox will shut Down",
	};
	showInfoBox(texts[shutDown], "ShutDown Info", shutDownSeconds);
}

// Right arrow while a stream plays: the decoder takes the AC3 sound instead of
// MPEG audio, and back. Material from a DVD takes the receiver's other AC3 type.
void toggleAc3()
{
	if (AC_3)
	{
		Decoder::parms.audio_type = 0;
		Decoder::Set();
		AC_3 = false;
		return;
	}
	eString last = loadFile.size() <= 3 ? loadFile : loadFile.right(3);
	eString first = loadFile.size() <= 3 ? loadFile : loadFile.left(3);
	Decoder::parms.audio_type = (last == "vob" || first == "dvd") ? 3 : 1;
	Decoder::Set();
	AC_3 = true;
}

// Red and blue while a stream plays: seek by the distance, or skip a file.
void seekOrSkip(eQUELT &window, bool forward)
{
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	if (seekskip)
	{
		if (forward)
		{
			engine->control("sffw", "nofile", 1);
			showInfoBox("Skipping forward, please wait...", "Skip Info", confirmSeconds);
		}
		// The supervision starts the entry after currentIndex once VLC has
		// stopped; below index 2 there is no file to go back to.
		else if (window.currentIndex > 1)
		{
			--window.currentIndex;
			engine->control("srew", "nofile", 1);
			showInfoBox("Skipping reverse, please wait ...", "Skip Info", confirmSeconds);
		}
	}
	else if (jump > 0)
	{
		if (forward)
		{
			engine->control("ffw", "nofile", jump);
			seek += jump;
			showInfoBox(eString::format("Seeking %d min. forward, please wait...", jump), "Seek Info", confirmSeconds);
		}
		else
		{
			engine->control("rew", "nofile", jump);
			seek -= jump;
			showInfoBox(eString::format("Seeking %d min. reverse, please wait....", jump), "Seek Info",
				confirmSeconds);
		}
	}
}

// Digits 1, 3, 4 and 6 while browsing move the start offset of the highlighted file.
void changeStartOffset(eQUELT &window, int digit)
{
	if (!CONNECTION || window.currentIndex < 0 || window.currentIndex >= int(window.playList.size()))
		return;
	PLAYLIST &entry = window.playList[size_t(window.currentIndex)];
	if (entry.type != ENTRY_PLAYABLE)
		return;
	switch (digit)
	{
	case 1:
		if (entry.startOffset > 4)
			entry.startOffset -= 5;
		break;
	case 3:
		entry.startOffset += 5;
		break;
	case 4:
		if (entry.startOffset > 0)
			entry.startOffset -= 1;
		break;
	case 6:
		entry.startOffset += 1;
		break;
	}
	window.viewList(window.currentIndex);
}
} // namespace

int eQUELT::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eWindow::eventHandler(event);

	const eAction *action = event.action;
	const cursorActions *cursor = i_cursorActions;
	const shortcutActions *shortcut = i_shortcutActions;
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	const bool parked = !menuVisible;

	if (action == &cursor->cancel)
	{
		if (parked && !volumeIsVisible)
		{
			// Stop the stream and return to the browser. A file chosen in the
			// next five seconds starts only when waitTimer has run out.
			engine->status = STATUS_CLOSING;
			engine->control("stop", "nofile", 1);
			playTimer->stop();
			infoTimer->stop();
			waitStart = true;
			waitTimer->start(restartDelayMs, true);
			showMenu();
			backgroundpicture::show();
			eZapLCD::getInstance()->lcdMain->setServiceName(loadFile);
		}
		else if (volumeIsVisible)
		{
			volumeGraphic.hide();
			geminiVolume.hide();
			volumeIsVisible = false;
		}
		else
		{
			if (i_isVisible)
				closeInfo();
			if (engine->status == STATUS_PLAYING)
				// The stream goes on; the window only frees its picture again.
				park();
			else
			{
				eConfig::getInstance()->setKey(configkey::volume, quelt_volume);
				eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, tv_volume);
				infoTimer->stop();
				close(0);
			}
		}
		return confirmSeekMode();
	}

	// OK, up and down belong to the list while browsing.
	if (action == &cursor->ok || action == &cursor->up || action == &cursor->down)
	{
		if (!parked || engine->status != STATUS_PLAYING)
			return eWindow::eventHandler(event);
		if (action == &cursor->ok)
			eQUELTInfo::run();
		else if (action == &cursor->up)
			eQUELTStream::run();
		else
			showMenu();
		return confirmSeekMode();
	}

	if (action == &cursor->help)
	{
		eQUELTHelper::run();
		return confirmSeekMode();
	}

	// These talk to VLC or to the stream: without a connection the host has them.
	bool needsConnection = action == &cursor->right || action == &shortcut->red || action == &shortcut->green ||
						   action == &shortcut->yellow;
	if (needsConnection && !CONNECTION)
		return eWindow::eventHandler(event);

	const int status = engine->status;
	if (action == &cursor->right)
	{
		if (parked)
			toggleAc3();
	}
	else if (action == &shortcut->red)
	{
		if (!parked)
			loadList(LIST_FILE, startdir);
		else if (status == STATUS_PLAYING)
			seekOrSkip(*this, false);
	}
	else if (action == &shortcut->green)
	{
		if (!parked)
			loadList(LIST_DVD, "");
		else if (status == STATUS_PLAYING)
			nextShutDownMode();
		else if (status == STATUS_PAUSED)
			releasePause();
	}
	else if (action == &shortcut->yellow)
	{
		if (!parked)
			loadList(LIST_VCD, "");
		else if (status == STATUS_PAUSED)
			releasePause();
		else if (status == STATUS_PLAYING)
			doPause();
	}
	else if (action == &shortcut->blue)
	{
		if (!parked)
			eQUELTSettings::run();
		else if (status == STATUS_PLAYING)
			seekOrSkip(*this, true);
	}
	else if (int digit = shortcut->digitOf(action); digit >= 0)
	{
		if (!parked && (digit == 1 || digit == 3 || digit == 4 || digit == 6))
			changeStartOffset(*this, digit);
		else
			setSeekDistance(digit);
	}
	else
		return eWindow::eventHandler(event);
	return confirmSeekMode();
}
