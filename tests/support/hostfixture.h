#ifndef SUPPORT_HOSTFIXTURE_H
#define SUPPORT_HOSTFIXTURE_H

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "host/estring.h"

class eMainloop;
class VirtualClock;

// The host as one test needs it: a temporary box root that every receiver path
// maps into (empty, or a copy of the project's box-root), the configuration
// store opened in it, the log captured, and on request a main loop on a virtual
// clock installed as eApp. The destructor undoes all of it and removes the root.
//
// One at a time: the host's root, store and log sink are process-wide.
class HostFixture
{
public:
	enum class Root
	{
		empty,
		copyOfBoxRoot,
	};

	explicit HostFixture(Root root = Root::empty);
	~HostFixture();
	HostFixture(const HostFixture &) = delete;
	HostFixture &operator=(const HostFixture &) = delete;

	const eString &root() const { return m_root; }
	// Writes a file at a receiver path ("/var/tuxbox/config/quelt.xml"),
	// creating its folders.
	void writeFile(const eString &receiverPath, const eString &text) const;
	void removeFile(const eString &receiverPath) const;

	// Every log line so far, each without its line end.
	std::vector<eString> logLines() const;
	// How many log lines contain text.
	size_t logCount(const eString &text) const;
	bool logContains(const eString &text) const { return logCount(text) > 0; }
	void clearLog();

	// The main loop, made on first use with a virtual clock starting at 0.
	eMainloop &loop();
	VirtualClock &clock();

private:
	static void logSink(const char *line, void *user);

	eString m_root;
	std::shared_ptr<VirtualClock> m_clock;
	std::unique_ptr<eMainloop> m_loop;
	mutable std::mutex m_logMutex;
	std::vector<eString> m_log; // -- protected by m_logMutex
};

// Ends the test binary with a message when the guarded code runs past its time,
// so a hang fails the run instead of blocking it. The time is a generous upper
// bound, never a measurement.
class Watchdog
{
public:
	Watchdog(int seconds, const char *what);
	~Watchdog();
	Watchdog(const Watchdog &) = delete;
	Watchdog &operator=(const Watchdog &) = delete;

private:
	std::mutex m_mutex;
	std::condition_variable m_done;
	bool m_finished = false; // -- protected by m_mutex
	std::thread m_thread;
};

#endif
