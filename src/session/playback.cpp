#include "plugin/equelt.h"

void eQUELT::playerStart(int index)
{
	// Not built yet.
}

void eQUELT::timerHandler()
{
	// Not built yet.
}

void eQUELT::wTimer()
{
	// Not built yet.
}
