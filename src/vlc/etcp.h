#ifndef VLC_ETCP_H
#define VLC_ETCP_H

#include "host/estring.h"

// The GET client for VLC's status queries. It keeps no state: each request uses
// a libcurl handle of its own. The one instance is made on first use and never
// destroyed.
class eTCP
{
public:
	static eTCP *getInstance();

	// GET of path on VLC's web interface; the body, also that of an HTTP error
	// page, lands in answer. Returns the libcurl result code (0 = success).
	int sendGetRequest(const eString &path, eString &answer);

private:
	eTCP() = default;
	eTCP(const eTCP &) = delete;
	eTCP &operator=(const eTCP &) = delete;
};

#endif
