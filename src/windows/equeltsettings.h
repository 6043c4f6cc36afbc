#ifndef WINDOWS_EQUELTSETTINGS_H
#define WINDOWS_EQUELTSETTINGS_H

#include "host/ewindow.h"

class eCheckbox;
class eLabel;
class eNumber;
class eSlider;

// The settings window: pre-buffer size, continuous play, the automatic info line
// with its interval, and the number of the active server set. The buffer size is
// stored as soon as the slider moves; everything else when the window dies, so
// every way of closing it saves. It keeps the host window's keys: the focus moves
// with up and down, Exit closes it.
class eQUELTSettings : public eWindow
{
public:
	eQUELTSettings();
	~eQUELTSettings() override;

	// What blue while browsing does: builds the window, shows it, runs it until
	// it closes, hides and destroys it (which saves).
	static void run();

	void init();
	// The slider moved: the new size is stored at once.
	void bufferSizeChanged(int value);
	// The interval's number and its label follow the Interval Infos box.
	void showNumber();
	// A new server set counts from the next start of the plug-in; says so.
	void showInformation();

	// Children of the window; they die with it.
	eLabel *bufferLabel = nullptr;
	eSlider *bufferSlider = nullptr;
	eCheckbox *continuousPlay = nullptr;
	eCheckbox *intervalInfos = nullptr;
};

// Further children of the open settings window; null while none is open.
extern eLabel *l_delay;
extern eNumber *infoDelay;
extern eLabel *l_servset;
extern eNumber *c_servset;

#endif
