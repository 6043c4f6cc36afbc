#ifndef BROWSER_ELISTBOXENTRYQUELT_H
#define BROWSER_ELISTBOXENTRYQUELT_H

#include "host/elistbox.h"
#include "host/estring.h"

class gPixmap;

// One row of the browser list (and of the help window): a small picture with its
// text. Creating an entry with a list appends it there, so entries created in
// order fill the list in order; the list owns and deletes them.
//
// An entry without a picture draws nothing at all, not even its background; it
// can still be highlighted and chosen.
class eListBoxEntryQUELT : public eListBoxEntryText
{
public:
	eListBoxEntryQUELT(eListBox<eListBoxEntryQUELT> *list, eString text, gPixmap *picture, int index);
	~eListBoxEntryQUELT() override;

	// The picture at x 10 of the list, centred in the row; the text 20 pixels
	// beyond the picture's width from the row's left, centred as well. The text is
	// laid out on the first draw and kept.
	const eString &redraw(gPainter *rc, const eRect &rect, gColor coActiveB, gColor coActiveF, gColor coNormalB,
		gColor coNormalF, int highlited) override;

	int getIndex() const { return index; }
	gPixmap *getPixmap() const { return pixmap; }

private:
	eString entryText;
	gPixmap *pixmap; // not owned: the list view or the help window keeps it
	int index;       // the record's position in the main window's playList
};

#endif
