#include "plugin/equelt.h"

void eQUELT::parseTimerList()
{
	// Not built yet.
}
