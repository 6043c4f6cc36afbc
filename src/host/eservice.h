#ifndef HOST_ESERVICE_H
#define HOST_ESERVICE_H

#include <sigc++/sigc++.h>

#include "host/estring.h"

// Names a television service. Type -1 means no service.
struct eServiceReference
{
	int type = -1;
	int flags = 0;
	int data[8] = {0, 0, 0, 0, 0, 0, 0, 0};
	eString path;
	eString descr; // what the box shows for it (a channel name)

	bool operator==(const eServiceReference &) const = default;
};

// The receiver's service interface: the running live service and its switching.
// GUI thread only. The box follows the signals to show or hide its test card.
class eServiceInterface
{
public:
	static eServiceInterface *getInstance();

	// Stops the running service and frees the decoder for others (the argument
	// is the platform's "why" code; the plug-in passes 0).
	int stop(int why = 0);
	// Starts a service; a reference of type -1 starts nothing.
	int play(const eServiceReference &ref);
	bool isRunning() const { return running; }

	// The current service, read directly by the plug-in.
	eServiceReference service;
	bool running = false;

	sigc::signal<void()> stopped;
	sigc::signal<void(const eServiceReference &)> started;
};

#endif
