#ifndef HOST_EDVB_H
#define HOST_EDVB_H

class eServiceInterface;

// The receiver's DVB core, as far as the plug-in sees it: a correction in seconds
// that turns the system clock into the receiver's time, and the service interface.
class eDVB
{
public:
	static eDVB *getInstance();
	static eDVB *instance() { return getInstance(); }
	eServiceInterface *getServiceAPI();

	int time_difference = 0;
};

#endif
