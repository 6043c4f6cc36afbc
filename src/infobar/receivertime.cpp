#include "infobar/receivertime.h"

#include "host/edvb.h"

struct tm receiverLocalTime()
{
	time_t now = time(nullptr) + eDVB::getInstance()->time_difference;
	struct tm local = {};
	localtime_r(&now, &local);
	return local;
}
