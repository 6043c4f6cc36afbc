#ifndef BROWSER_ELISTBOXENTRYQUELT_H
#define BROWSER_ELISTBOXENTRYQUELT_H

#include "host/elistbox.h"
#include "host/estring.h"

class gPixmap;

// One row of the browser list (and of the help window): a small picture with its
// text. Creating an entry with a list appends it there, so entries created in
// order fill the list in order; the list owns and deletes them.
class eListBoxEntryQUELT : public eListBoxEntryText
{
public:
	eListBoxEntryQUELT(eListBox<eListBoxEntryQUELT> *list, eString text, gPixmap *picture, int index);
	~eListBoxEntryQUELT() override;

	int getIndex() const { return index; }
	gPixmap *getPixmap() const { return pixmap; }

private:
	eString entryText;
	gPixmap *pixmap; // not owned: the list view or the help window keeps it
	int index;       // the record's position in the main window's playList
};

#endif
