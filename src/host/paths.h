#ifndef HOST_PATHS_H
#define HOST_PATHS_H

#include "host/estring.h"

// Every absolute receiver path (/var/tuxbox/..., /dev/pvr, /var/bin/...) goes through
// this mapping. On a receiver the root is "/"; the box sets its root folder at start-up.
namespace hostpaths
{
void setRoot(const eString &root);
const eString &root();
}

// The host path of a receiver path: the root joined with it. A relative path is
// returned unchanged.
eString hostPath(const eString &receiverPath);

#endif
