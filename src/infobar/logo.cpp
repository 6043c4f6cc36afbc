#include "plugin/equelt.h"

int eQUELT::readLogoConf()
{
	return -1; // Not built yet: as when there is no logo configuration.
}
