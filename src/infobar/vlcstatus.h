#ifndef INFOBAR_VLCSTATUS_H
#define INFOBAR_VLCSTATUS_H

#include "host/estring.h"

class XMLTreeNode;

// What VLC's status answer tells the infobar and the info line about the file
// that plays. Without an answer, or with one that does not parse, the values
// stay as constructed: no time, no length, codec and picture size unknown.
class VlcStatus
{
public:
	int time = 0;     // seconds played
	int length = 0;   // seconds
	int position = 0; // percent played
	eString codec = "unknown";
	eString pictureSize = "unknown";

	// Asks VLC for "/requests/status.xml" and reads the answer. False when VLC
	// gave no answer or one that is not XML; the values are then untouched.
	bool fetch();

	// Takes the values from the children of the answer's root element. A repeated
	// element overwrites the earlier value; elements it does not know are ignored.
	void read(const XMLTreeNode *root);

	// The integer at the start of a text, as VLC writes numbers: 0 when there is
	// none, and held to the range of int when VLC reports more.
	static int toInt(const char *text);
};

#endif
