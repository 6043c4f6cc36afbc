#include "browser/elistboxentryquelt.h"

eListBoxEntryQUELT::eListBoxEntryQUELT(eListBox<eListBoxEntryQUELT> *list, eString text, gPixmap *picture, int index)
	: eListBoxEntryText(list, text, nullptr, 0, eString()), entryText(text), pixmap(picture), index(index)
{
}

eListBoxEntryQUELT::~eListBoxEntryQUELT() = default;
