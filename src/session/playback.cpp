// Starting an entry of the play list, and the supervision that watches the
// engine every two seconds: continuous play, the end-of-list action, errors.

#include "browser/playlist.h"
#include "engine/engine.h"
#include "host/eavswitch.h"
#include "host/emessagebox.h"
#include "host/ezaplcd.h"
#include "host/log.h"
#include "host/mainloop.h"
#include "host/platform.h"
#include "infobar/receivertime.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"
#include "session/backgroundpicture.h"

namespace
{
constexpr long firstTickMs = 1800;
constexpr long tickMs = 2000;

// The host application's quit codes for the end-of-list actions.
constexpr int quitRestartGui = 2;
constexpr int quitRestartReceiver = 4;
constexpr int quitSwitchOff = 0;

bool isDiscListing(int mode)
{
	return mode == LIST_VCD || mode == LIST_SVCD || mode == LIST_DVD;
}
} // namespace

void eQUELT::playerStart(int index)
{
	started = true;
	// Shortly after a stop the start waits for waitTimer, which makes it.
	if (waitStart)
		return;
	started = false;
	if (index < 0 || index >= int(playList.size()))
	{
		eDebug("[quelt]: no entry %d to play", index);
		return;
	}

	eQUELTEngine *engine = eQUELTEngine::getInstance();
	if (engine->status != STATUS_IDLE)
		engine->control("stop", "nofile", 1);
	if (menuVisible)
		park();
	volu = currVol = eAVSwitch::getInstance()->volume;

	// The engine's start sequence runs inside control and blocks the GUI until
	// the stream plays or has failed.
	const PLAYLIST entry = playList[size_t(index)];
	if (entry.startOffset == 0)
		engine->control("start2", quote(entry.path), 1);
	else
		engine->control("start3", quote(entry.path), entry.startOffset);

	playTimer->start(firstTickMs, true);
	struct tm now = receiverLocalTime();
	startHour = now.tm_hour;
	startMin = now.tm_min;
	eZapLCD::getInstance()->lcdMain->setServiceName(loadFile);
	if (AUTOINFO)
		infoTimer->start(INFODELAY, true);
	viewList(index + 1);
}

void eQUELT::timerHandler()
{
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	int status = engine->status;

	// A disc chapter that has ended is not followed by the next one: the
	// supervision ticks on with the engine idle until the viewer returns.
	if (status == STATUS_IDLE && !isDiscListing(listMode))
	{
		++currentIndex;
		if (currentIndex < int(playList.size()) && AUTOPLAY)
		{
			const PLAYLIST &entry = playList[size_t(currentIndex)];
			// Continuous play stops at a directory, and the supervision with it.
			if (entry.type != ENTRY_PLAYABLE || AUTOPLAY < 0)
				return;
			infoTimer->stop();
			if (i_isVisible)
				closeInfo();
			loadFile = entry.name;
			nextFile = currentIndex + 1 < int(playList.size()) ? playList[size_t(currentIndex) + 1].name
															   : eString("Playlist End");
			backgroundpicture::show();
			playerStart(currentIndex);
			return;
		}

		currentIndex = 0;
		infoTimer->stop();
		if (i_isVisible)
			closeInfo();
		showMenu();
		switch (shutDown)
		{
		case 1:
			eApp->quit(quitRestartGui);
			break;
		case 2:
			eApp->quit(quitRestartReceiver);
			break;
		case 3:
			eApp->quit(quitSwitchOff);
			break;
		default:
			if (shutDown <= 0)
				backgroundpicture::show();
			break;
		}
		return;
	}

	if (status == STATUS_ERROR)
	{
		engine->control("terminate", "nofile", 1);
		eMessageBox box("An Error occured while trying to send commands, or receiving the Stream. Please ensure that "
						"VLC is started on the PC, and that VLC can play the chosen File.",
			_("Error"), eMessageBox::btOK | eMessageBox::iconError, eMessageBox::btOK, 0);
		box.show();
		box.exec();
		box.hide();
		currentIndex = 0;
		if (i_isVisible)
			closeInfo();
		showMenu();
		return;
	}

	// The feeder thread may end the stream meanwhile: each step changes the
	// status only from the value it saw, so an end it reported is never lost.
	if (paused && engine->status.change(STATUS_PAUSED, STATUS_PLAYING))
	{
		paused = false;
		pauseBox->hide();
	}
	engine->status.change(STATUS_STARTED, STATUS_PLAYING);
	playTimer->start(tickMs, true);
}

void eQUELT::wTimer()
{
	waitStart = false;
	if (started)
		playerStart(currentIndex);
}
