#include "plugin/equelt.h"

void eQUELT::loadList(int mode, eString path)
{
	// Not built yet: the listing stays as it is.
}

void eQUELT::showNoServerList()
{
	// Not built yet.
}
