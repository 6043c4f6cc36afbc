#include "plugin/equelt.h"

int eQUELT::readInfos()
{
	return 0; // Not built yet: as when VLC does not answer.
}

void eQUELT::showInfo()
{
	// Not built yet.
}

void eQUELT::closeInfo()
{
	// Not built yet.
}
