#ifndef BROWSER_PLAYLIST_H
#define BROWSER_PLAYLIST_H

#include "host/estring.h"

// Kinds of a listing entry. The values order the list: the ".." entry first, then
// directories, then what can be played, then the placeholders shown without VLC.
enum
{
	ENTRY_PARENT = 0,
	ENTRY_DIRECTORY = 1,
	ENTRY_PLAYABLE = 2,
	ENTRY_NO_SERVER = 3
};

// What a listing shows: a directory of the PC through VLC, or the chapters of a
// disc in the PC's drive.
enum
{
	LIST_FILE = 0,
	LIST_VCD = 1,
	LIST_SVCD = 2,
	LIST_DVD = 3
};

// One entry of the current listing, which is also the play list. A plain value:
// the list holds copies, and sorting moves them about.
struct PLAYLIST
{
	int type = ENTRY_PARENT;
	int startOffset = 0; // minutes into the file where playback starts
	int sizeMB = 0;
	eString name;    // sort key, and what the LCD and the status line name
	eString path;    // what goes back to VLC: a directory to list or an input to play
	eString label;   // the text of the list row
	eString picture; // icon file name below the picture directory
};

// Byte order of the names, no case folding: "Zoo" before "apple".
bool sortByName(const PLAYLIST &a, const PLAYLIST &b);
// The list's order: by kind, then by name.
bool sortByType(const PLAYLIST &a, const PLAYLIST &b);

#endif
