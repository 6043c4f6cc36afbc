#ifndef ENGINE_STOPTOKEN_H
#define ENGINE_STOPTOKEN_H

#include <atomic>

// A request to stop one worker thread, with a descriptor the thread can poll
// beside its socket or device so that the request ends any wait at once.
//
// The descriptor also serves as a plain wake-up: wake() makes it readable
// without asking for a stop, so a thread blocked in poll looks at the shared
// state again. A thread that was woken calls clearWake() before it waits anew.
class StopToken
{
public:
	StopToken();
	~StopToken();
	StopToken(const StopToken &) = delete;
	StopToken &operator=(const StopToken &) = delete;

	// Asks the thread to stop and wakes it; stays set until reset().
	void request();
	bool requested() const { return m_requested.load(); }
	// Wakes a thread that polls fd() without asking it to stop.
	void wake();
	void clearWake();
	// Readable while a request or a wake-up is pending; -1 when the system gave
	// no descriptor, in which case pollers must not block without a timeout.
	int fd() const { return m_fd; }
	// Clears the request and any pending wake-up, before a new thread starts.
	void reset();

private:
	int m_fd = -1;
	std::atomic<bool> m_requested{false};
};

#endif
