#ifndef WINDOWS_EQUELTSTREAM_H
#define WINDOWS_EQUELTSTREAM_H

#include "host/elistbox.h"
#include "host/estring.h"
#include "host/ewindow.h"

class eLabel;

// The stream window: names the stream that plays and the one that follows, each
// with a word on its file type. It has no keys of its own; Exit closes it.
class eQUELTStream : public eWindow
{
public:
	eQUELTStream();
	~eQUELTStream() override;

	// What up during playback does: builds the window, shows it, runs it until
	// it closes, hides and destroys it.
	static void run();

	void init();

	// The extension of an input name: what follows its last dot, the whole name
	// when it has none, nothing when it is empty or ends in a dot.
	static eString extensionOf(const eString &name);
	// The file-type words for an extension, compared in upper case, such as
	// " - DivX / XVID"; an unknown one reads "MKV - Not registered, yet.".
	static eString describe(const eString &extension);

	// Children of the window; they die with it.
	eListBox<eListBoxEntryText> *versionList = nullptr; // holds the version, one pixel in size
	eLabel *infoLabel = nullptr;
};

#endif
