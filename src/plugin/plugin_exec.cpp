#include "host/log.h"

// The receiver calls this once on its GUI thread; the argument is not used.
extern "C" __attribute__((visibility("default"))) int plugin_exec(void *)
{
	eDebug("[quelt]: plugin_exec");
	return 0;
}
