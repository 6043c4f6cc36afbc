#include "plugin/equelt.h"

int eQUELT::sendGetRequest(const eString &path, eString &answer)
{
	answer.clear();
	return -1; // Not built yet: as when VLC does not answer.
}
