#ifndef WINDOWS_EQUELTHELPER_H
#define WINDOWS_EQUELTHELPER_H

#include <memory>

#include "host/elistbox.h"
#include "host/ewindow.h"

class eListBoxEntryQUELT;
class gPixmap;

// The help window: the version and what each remote-control key does, a line
// each with the help picture. It has no keys of its own; Exit closes it.
class eQUELTHelper : public eWindow
{
public:
	eQUELTHelper();
	~eQUELTHelper() override;

	// What help does: builds the window, shows it, runs it until it closes, hides
	// and destroys it.
	static void run();

	void init();

	// A child of the window; it dies with it.
	eListBox<eListBoxEntryQUELT> *helpList = nullptr;

private:
	// Loaded for each window and shared by its lines; null without the file.
	std::unique_ptr<gPixmap> helpPicture;
};

#endif
