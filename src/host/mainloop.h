#ifndef HOST_MAINLOOP_H
#define HOST_MAINLOOP_H

#include <sigc++/sigc++.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "host/clock.h"

class eTimer;

// The GUI main loop: timers, descriptor watches, closures posted from other
// threads, and nested runs. Everything but posting must be called on the thread
// that runs the loop: the thread that constructed it, until another thread enters
// exec or processOneEvent, which then becomes the loop thread.
//
// One pass of the loop: run posted closures, run due timers, poll the watched
// descriptors (and the wake-up pipe) without waiting. When that pass did nothing
// the loop is idle: it asks the idle hooks for work, and if none had any it either
// jumps a virtual clock to the next timer deadline or (real clock, or no timer)
// blocks in poll until the next deadline, a descriptor or a posted closure.
class eMainloop
{
public:
	explicit eMainloop(std::shared_ptr<Clock> clock = std::make_shared<MonotonicClock>());
	~eMainloop();
	eMainloop(const eMainloop &) = delete;
	eMainloop &operator=(const eMainloop &) = delete;

	Clock &clock() const;
	int64_t nowMs() const;

	// Runs a nested loop until exitLoop(id, code) is called with the id this run
	// got from nextLoopId(); returns that code. Each run owns its loop: ending an
	// outer run while an inner one is active takes effect when the inner one returns.
	// A pending quit() ends every run at once (exec returns -1 then).
	// exitLoop before exec of that id makes the exec return the code at once; the
	// first exitLoop of a run decides its code, and ids of runs that have already
	// returned are ignored.
	using LoopId = int;
	LoopId nextLoopId();
	int exec(LoopId id);
	void exitLoop(LoopId id, int code);
	int loopDepth() const;

	// The host application's quit(code): ends every nested run, and the box ends
	// with this code (2 restart the GUI, 4 restart the receiver, 0 switch off).
	// The first quit decides the code; processOneEvent keeps working afterwards.
	void quit(int code);
	bool quitRequested() const;
	int quitCode() const;

	// One pass; when block is set and the pass was idle, waits (or jumps a virtual
	// clock) as described above. The idle hooks are asked even when block is not
	// set. Returns true when something ran.
	bool processOneEvent(bool block);

	// Thread-safe: runs fn on the loop thread, waking the loop. Closures posted
	// before the loop is destroyed but not yet run are dropped.
	void post(std::function<void()> fn);
	// Runs fn now when called on the loop thread, else posts it.
	void runInLoop(std::function<void()> fn);
	bool isLoopThread() const;

	// Watches fd for poll events (POLLIN, POLLOUT); the callback gets the revents.
	using WatchId = int;
	WatchId addWatch(int fd, short events, std::function<void(int fd, short revents)> cb);
	void removeWatch(WatchId id);

	// Called when the loop is idle, before time moves on; returns true when it did
	// work (for example delivered a queued key). Tests and the box's key script use it.
	// Hooks are asked in the order they were added until one has done work, so the
	// consequences of that work (timers, posted closures) run before the next hook.
	// A hook may add or remove hooks, itself included, and may run a nested loop.
	using IdleHookId = int;
	IdleHookId addIdleHook(std::function<bool()> hook);
	void removeIdleHook(IdleHookId id);

	// Timer bookkeeping for eTimer.
	void registerTimer(eTimer *t);
	void unregisterTimer(eTimer *t);

	struct Impl;

private:
	std::unique_ptr<Impl> d;
};

// The GUI main loop of the running application (the box or a test sets it).
extern eMainloop *eApp;

// A timer on a main loop. Its timeout runs on the loop thread. A timer may be
// stopped or restarted from inside its own timeout; destroying it stops it.
class eTimer
{
public:
	explicit eTimer(eMainloop *context = eApp);
	~eTimer();
	eTimer(const eTimer &) = delete;
	eTimer &operator=(const eTimer &) = delete;

	// Starts (or restarts) the timer: first timeout after msec, then every msec
	// unless singleShot. A repeating timer keeps its phase; ticks missed during a
	// stall are skipped, never fired in a burst.
	void start(long msec, bool singleShot = false);
	void stop();
	bool isActive() const { return m_active; }
	int64_t deadline() const { return m_deadline; }
	long interval() const { return m_interval; }
	bool singleShot() const { return m_singleShot; }

	sigc::signal<void()> timeout;

	// For the loop: fires the timer whose deadline has come.
	void activate();

private:
	eMainloop *m_context;
	bool m_active = false;
	bool m_singleShot = false;
	long m_interval = 0;
	int64_t m_deadline = 0;
	uint64_t m_sequence = 0; // order of starts, so equal deadlines fire in start order
	friend class eMainloop;
};

// Connects a signal to a member function of the current object, as the platform's
// plug-ins write it: CONNECT(timer->timeout, eQUELT::timerHandler).
#define CONNECT(SENDER, SLOT) (SENDER).connect(sigc::mem_fun(*this, &SLOT))

#endif
