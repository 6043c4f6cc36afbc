#include "browser/elistboxentryquelt.h"
#include "browser/playlist.h"
#include "plugin/equelt.h"

bool sortByName(const PLAYLIST &a, const PLAYLIST &b)
{
	return false; // Not built yet.
}

bool sortByType(const PLAYLIST &a, const PLAYLIST &b)
{
	return false; // Not built yet.
}

void eQUELT::viewList(int select)
{
	// Not built yet.
}

void eQUELT::listSelChanged(eListBoxEntryQUELT *entry)
{
	// Not built yet.
}

void eQUELT::listSelected(eListBoxEntryQUELT *entry)
{
	// Not built yet.
}

bool eQUELT::checkExtensions(eString name)
{
	return false; // Not built yet: nothing counts as playable.
}
