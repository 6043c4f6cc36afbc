#include "host/etimermanager.h"

eTimerManager *eTimerManager::getInstance()
{
	static eTimerManager instance;
	return &instance;
}
