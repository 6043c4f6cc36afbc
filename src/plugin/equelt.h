#ifndef PLUGIN_EQUELT_H
#define PLUGIN_EQUELT_H

#include <memory>
#include <vector>

#include "browser/playlist.h"
#include "host/elabel.h"
#include "host/elistbox.h"
#include "host/eservice.h"
#include "host/estring.h"
#include "host/ewindow.h"
#include "host/gpixmap.h"

class eListBoxEntryQUELT;
class eMessageBox;
class eProgress;
class eStatusBar;
class eTimer;
class gPixmap;

// The plug-in's main window: the file browser of the PC with its colour-key
// labels, list and status line, the volume display and the hidden pause box. The
// same object carries the playback supervision, the timed info line and the
// recording-timer guard, driven by its seven timers.
//
// While a stream plays the window is not closed but parked below the visible
// screen, so it keeps the remote-control keys while the picture is free;
// showMenu brings it back. Everything here runs on the GUI thread.
class eQUELT : public eWindow
{
public:
	eQUELT();
	~eQUELT() override;

	// The remote-control keys, in both states of the window.
	int eventHandler(const eWidgetEvent &event) override;

	// -- Start-up and the window's place.
	void init();
	// Brings the parked window back to its browsing position.
	void showMenu();
	// Moves the window below the visible screen so the picture of a stream is free;
	// the window keeps the keys.
	void park();
	// Puts the status-line text for entry index of playList into the list's help text.
	void setStatus(int index);

	// -- The browser.
	void loadList(int mode, eString path);
	void showNoServerList();
	void viewList(int select);
	bool checkExtensions(eString name);
	eString getPicture(eString name);
	eString getPicture(int kind);
	// Escapes a PC-side name for a request path.
	static eString quote(const eString &text);
	// GET of path on VLC's web interface; the body lands in answer (empty when VLC
	// did not answer). Returns the transfer's result code.
	int sendGetRequest(const eString &path, eString &answer);

	// -- Playback.
	void playerStart(int index);
	void doPause();
	void releasePause();
	// Seconds left of the file that plays, as VLC reports them; 0 without an answer.
	int readInfos();
	// Reads the logo position; 0 when the configuration was read, -1 otherwise.
	int readLogoConf();

	// -- Slots.
	void listSelected(eListBoxEntryQUELT *entry);
	void listSelChanged(eListBoxEntryQUELT *entry);
	void timerHandler();
	void wTimer();
	void hideVolumeBar();
	void updateVolume(int mute, int volume);
	void showInfo();
	void closeInfo();
	void parseTimerList();
	// Closes the plug-in once the timer guard has found a recording due or running.
	void closeApp();

	// -- State. Public, as the platform's plug-ins keep it, so that the parts of the
	// window that live in other files and the tests reach it directly.

	// The television service running at start-up; type -1 when none was saved.
	eServiceReference savedService;
	// The entries of the current listing, which is also the play list.
	std::vector<PLAYLIST> playList;
	int listMode = LIST_FILE;
	// True at the browsing position, false while parked.
	bool menuVisible = true;
	int currentIndex = 0;
	// Top-level labels on the screen, not children of the window: the volume
	// display stays visible while the window is parked.
	eLabel volumeGraphic;
	eLabel geminiVolume;
	eProgress *volumeBar = nullptr;            // child of volumeGraphic
	gPixmap *geminiVolumePixmap = nullptr;     // the skin's picture, or null
	eListBox<eListBoxEntryQUELT> *fileList = nullptr; // child of the window
	std::unique_ptr<eTimer> playTimer;         // runs timerHandler
	std::unique_ptr<eTimer> volumeTimer;       // runs hideVolumeBar
	std::unique_ptr<eTimer> waitTimer;         // runs wTimer
	std::unique_ptr<eTimer> infoTimer;         // runs showInfo
	std::unique_ptr<eTimer> infoCloseTimer;    // runs closeInfo
	std::unique_ptr<eTimer> recheckTimer;      // runs parseTimerList
	std::unique_ptr<eTimer> shutdownTimer;     // runs closeApp
	std::unique_ptr<eMessageBox> pauseBox;     // "Stream paused", shown while paused
	eStatusBar *statusBar = nullptr;           // child of the window

	// The icon loaded last while the list was filled.
	static gPixmap *icon;
	// The pictures of the list's entries, which only point at them; released when
	// the list is refilled.
	std::vector<std::unique_ptr<gPixmap>> listIcons;
};

#endif
