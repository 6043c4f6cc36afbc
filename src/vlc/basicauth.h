#ifndef VLC_BASICAUTH_H
#define VLC_BASICAUTH_H

#include "host/estring.h"

// The header line of HTTP Basic authorization for credentials "user:pass",
// with its line end: "Authorization: Basic dXNlcjpwYXNz\r\n".
eString basicAuthorizationHeader(const eString &credentials);

// Base64 of the bytes of text, with padding.
eString base64Encode(const eString &text);

#endif
