#include "host/edvb.h"

#include "host/eservice.h"

eDVB *eDVB::getInstance()
{
	static eDVB instance;
	return &instance;
}

eServiceInterface *eDVB::getServiceAPI()
{
	return eServiceInterface::getInstance();
}
