#include "vlc/etcp.h"

#include "vlc/httpget.h"

eTCP *eTCP::getInstance()
{
	static eTCP *instance = new eTCP;
	return instance;
}

// The status is asked for every few seconds while a stream plays, so an absent
// VLC may hold the GUI only briefly.
int eTCP::sendGetRequest(const eString &path, eString &answer)
{
	return vlcGetRequest(path, answer, HttpErrorStatus::deliverBody, 2);
}
