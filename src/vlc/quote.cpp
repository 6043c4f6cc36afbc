#include "plugin/equelt.h"

eString eQUELT::quote(const eString &text)
{
	return eString(); // Not built yet.
}
