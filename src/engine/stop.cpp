// The two ways down to STATUS_IDLE: a stop on request, and the reset of the box
// side after a play-back.

#include "engine/engine.h"

#include "host/decoder.h"
#include "host/log.h"
#include "host/mainloop.h"

void eQUELTEngine::stopNow()
{
	// When the feeder was running, its clean-up has already ended the receiver
	// and reset the box side, which empties VLC's play list once more. A stop
	// request ends both threads from every status, a pause included.
	killThreads_stream();
	// A connection that no receiver took over (a resume whose threads had ended
	// already) is closed here.
	retireStreamConnection(streamFd.exchange(-1));
	sendRequest2VLC_stream("requests/status.xml?command=pl_stop");
	sendRequest2VLC_stream("requests/status.xml?command=pl_empty");
	leaveStreamingClient_stream();
	status = STATUS_IDLE;
}

void eQUELTEngine::leaveStreamingClient_stream(OnThread thread)
{
	sendRequest2VLC_stream("requests/status.xml?command=pl_empty");
	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		tsBuffer_Stream.clear();
	}
	Decoder::Flush();

	// The serial is read before the status changes: once the main window sees
	// STATUS_IDLE it may start again and make a new display, which the removal
	// posted here must leave alone.
	unsigned serial = progressDisplaySerial;
	status = STATUS_IDLE;

	if (thread == OnThread::gui)
		deleteProgressDisplay();
	else if (eApp)
	{
		// Widgets live on the GUI thread; the feeder, which ends a stream by
		// itself, hands their removal to the GUI loop.
		eApp->post([serial] {
			if (progressDisplaySerial == serial)
				deleteProgressDisplay();
		});
	}

	if (audioOnly)
		closeCompression();
}
