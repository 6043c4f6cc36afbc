#include "plugin/equelt.h"

eString eQUELT::getPicture(eString name)
{
	return eString(); // Not built yet.
}

eString eQUELT::getPicture(int kind)
{
	return eString(); // Not built yet.
}
