#ifndef VLC_HTTPGET_H
#define VLC_HTTPGET_H

#include <cstddef>

#include "host/estring.h"

// The libcurl write callback of both GET clients: appends the delivered bytes to
// the eString that answer points to and takes them all, so that libcurl never
// ends a transfer on the callback's account.
size_t CurlDummyWrite(void *data, size_t size, size_t count, void *answer);

// What a client makes of an answer with an HTTP status of 400 or more.
enum class HttpErrorStatus
{
	deliverBody, // the error page becomes the answer, the transfer succeeds
	failTransfer, // the transfer fails and the answer stays empty
};

// One blocking GET of url with credentials "user:pass" (none when empty); the
// body lands in answer. Returns the libcurl result code (0 = success).
int httpGet(const eString &url, const eString &credentials, eString &answer, HttpErrorStatus errors,
	long timeoutSeconds);

// One blocking GET of path on VLC's web interface, with the host, the port and the
// credentials of the request parameters; the body lands in answer. Returns the
// libcurl result code (0 = success). The GUI thread is blocked for at most
// timeoutSeconds.
int vlcGetRequest(const eString &path, eString &answer, HttpErrorStatus errors, long timeoutSeconds);

#endif
