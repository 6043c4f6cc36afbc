#include "host/eservice.h"

#include "host/log.h"

eServiceInterface *eServiceInterface::getInstance()
{
	static eServiceInterface instance;
	return &instance;
}

int eServiceInterface::stop(int)
{
	if (running)
		eDebug("[host] live service stopped");
	running = false;
	stopped();
	return 0;
}

int eServiceInterface::play(const eServiceReference &ref)
{
	if (ref.type == -1)
		return -1;
	service = ref;
	running = true;
	eDebug("[host] live service playing: %s", ref.descr.c_str());
	started(ref);
	return 0;
}
