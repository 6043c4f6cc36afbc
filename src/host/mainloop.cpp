#include "host/mainloop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "host/log.h"

eMainloop *eApp = nullptr;

namespace
{
struct TimerKey
{
	int64_t deadline;
	uint64_t sequence;
	auto operator<=>(const TimerKey &) const = default;
};

struct Watch
{
	int fd;
	short events;
	std::function<void(int, short)> callback;
};

struct Run
{
	bool exited = false;
	bool running = false;
	int code = 0;
};
} // namespace

struct eMainloop::Impl
{
	explicit Impl(std::shared_ptr<Clock> c) : clock(std::move(c)) {}

	std::shared_ptr<Clock> clock;
	std::atomic<std::thread::id> loopThread{std::this_thread::get_id()};
	int wakeFd = -1;

	// -- All the following fields belong to the loop thread.
	std::map<TimerKey, eTimer *> timers;
	uint64_t timerSequence = 0;
	std::map<WatchId, std::shared_ptr<Watch>> watches;
	WatchId nextWatch = 1;
	// Hooks are held by shared_ptr so one may remove itself while it runs.
	std::map<IdleHookId, std::shared_ptr<std::function<bool()>>> hooks;
	IdleHookId nextHook = 1;
	// Runs that were handed out by nextLoopId or are executing; a finished run is erased.
	std::map<LoopId, Run> runs;
	LoopId nextLoop = 1;
	int depth = 0;
	bool quit = false;
	int quitCode = 0;
	// Bumped by every exitLoop and quit, so a pass can tell that a run was ended.
	uint64_t exitRequests = 0;

	// -- The pending closures are protected by postMutex.
	std::mutex postMutex;
	std::vector<std::function<void()>> posted;

	bool runPosted();
	bool runDueTimers();
	bool pollWatches(int timeoutMs);
	bool runIdleHooks();
};

bool eMainloop::Impl::runPosted()
{
	// Clear the wake-up before taking the queue: a closure posted after the swap
	// then always leaves the descriptor readable, so the loop cannot sleep on it.
	uint64_t count;
	while (read(wakeFd, &count, sizeof(count)) < 0 && errno == EINTR)
	{
	}
	std::vector<std::function<void()>> batch;
	{
		std::lock_guard<std::mutex> lock(postMutex);
		batch.swap(posted);
	}
	for (auto &fn : batch)
		fn();
	return !batch.empty();
}

bool eMainloop::Impl::runDueTimers()
{
	// Only timers scheduled before this pass began may fire in it, so a timer that
	// restarts itself with no delay runs once per pass instead of forever. The
	// queue is searched afresh after every timeout: a timeout may stop, restart or
	// destroy any timer, and only timers still queued are ever touched.
	const uint64_t lastSequence = timerSequence;
	const int64_t now = clock->nowMs();
	bool fired = false;
	for (;;)
	{
		eTimer *due = nullptr;
		for (auto &[key, timer] : timers)
		{
			if (key.deadline > now)
				break;
			if (key.sequence <= lastSequence)
			{
				due = timer;
				break;
			}
		}
		if (!due)
			return fired;
		fired = true;
		due->activate();
	}
}

bool eMainloop::Impl::pollWatches(int timeoutMs)
{
	std::vector<pollfd> fds;
	std::vector<WatchId> ids;
	fds.reserve(watches.size() + 1);
	ids.reserve(watches.size() + 1);
	fds.push_back({wakeFd, POLLIN, 0});
	ids.push_back(0);
	for (auto &[id, watch] : watches)
	{
		fds.push_back({watch->fd, watch->events, 0});
		ids.push_back(id);
	}
	int ready = poll(fds.data(), fds.size(), timeoutMs);
	if (ready < 0)
	{
		if (errno != EINTR)
			eWarning("eMainloop: poll failed: %s", strerror(errno));
		return false;
	}
	if (ready == 0)
		return false;
	bool worked = false;
	if (fds[0].revents)
		worked = runPosted();
	for (size_t i = 1; i < fds.size(); ++i)
	{
		if (!fds[i].revents)
			continue;
		// An earlier callback in this pass may have removed this watch.
		auto it = watches.find(ids[i]);
		if (it == watches.end())
			continue;
		std::shared_ptr<Watch> watch = it->second;
		watch->callback(watch->fd, fds[i].revents);
		worked = true;
		if (fds[i].revents & POLLNVAL)
		{
			// The descriptor is not open: the watch can never fire usefully again,
			// and keeping it would make every pass report work.
			eWarning("eMainloop: descriptor %d is not open, its watch is removed", watch->fd);
			watches.erase(ids[i]);
		}
	}
	return worked;
}

bool eMainloop::Impl::runIdleHooks()
{
	// Look each hook up by its id again after every call: a hook may add or
	// remove hooks, or run a nested loop that calls the hooks itself.
	IdleHookId last = 0;
	for (;;)
	{
		auto it = hooks.upper_bound(last);
		if (it == hooks.end())
			return false;
		last = it->first;
		std::shared_ptr<std::function<bool()>> hook = it->second;
		if ((*hook)())
			return true;
	}
}

eMainloop::eMainloop(std::shared_ptr<Clock> clock) : d(std::make_unique<Impl>(std::move(clock)))
{
	if (!d->clock)
		d->clock = std::make_shared<MonotonicClock>();
	d->wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
	if (d->wakeFd < 0)
		eWarning("eMainloop: no wake-up descriptor: %s", strerror(errno));
}

eMainloop::~eMainloop()
{
	// Timers outlive their loop in some owners; mark them stopped so their own
	// destructors do not reach back into this loop.
	for (auto &[key, timer] : d->timers)
		timer->m_active = false;
	d->timers.clear();
	// Dropped closures are destroyed outside the lock: what they captured may post.
	std::vector<std::function<void()>> dropped;
	{
		std::lock_guard<std::mutex> lock(d->postMutex);
		dropped.swap(d->posted);
	}
	dropped.clear();
	if (d->wakeFd >= 0)
		close(d->wakeFd);
	if (eApp == this)
		eApp = nullptr;
}

Clock &eMainloop::clock() const
{
	return *d->clock;
}

int64_t eMainloop::nowMs() const
{
	return d->clock->nowMs();
}

eMainloop::LoopId eMainloop::nextLoopId()
{
	LoopId id = d->nextLoop++;
	d->runs[id] = Run{};
	return id;
}

int eMainloop::exec(LoopId id)
{
	d->loopThread = std::this_thread::get_id();
	if (d->quit)
	{
		d->runs.erase(id);
		return -1;
	}
	Run &entry = d->runs[id];
	if (entry.running)
	{
		eWarning("eMainloop: run %d is already executing", id);
		return -1;
	}
	if (entry.exited)
	{
		// Closed before it started, for example by its own zero-delay timer.
		int code = entry.code;
		d->runs.erase(id);
		return code;
	}
	entry.running = true;
	++d->depth;
	// Inner runs live inside processOneEvent, so this test is only reached once
	// they have returned: an outer run ended early waits for them naturally.
	while (!d->quit && !d->runs[id].exited)
		processOneEvent(true);
	--d->depth;
	int code = d->quit ? -1 : d->runs[id].code;
	d->runs.erase(id);
	return code;
}

void eMainloop::exitLoop(LoopId id, int code)
{
	auto it = d->runs.find(id);
	// A run that has already returned, or an id never handed out, has nothing to end.
	if (it == d->runs.end() || it->second.exited)
		return;
	it->second.exited = true;
	it->second.code = code;
	++d->exitRequests;
}

int eMainloop::loopDepth() const
{
	return d->depth;
}

void eMainloop::quit(int code)
{
	if (d->quit)
		return;
	d->quit = true;
	d->quitCode = code;
	++d->exitRequests;
}

bool eMainloop::quitRequested() const
{
	return d->quit;
}

int eMainloop::quitCode() const
{
	return d->quitCode;
}

bool eMainloop::processOneEvent(bool block)
{
	d->loopThread = std::this_thread::get_id();
	const uint64_t exitsBefore = d->exitRequests;
	bool worked = d->runPosted();
	worked |= d->runDueTimers();
	worked |= d->pollWatches(0);
	if (worked || d->runIdleHooks())
		return true;
	// A hook that ended a run without claiming work must still let exec return.
	if (d->exitRequests != exitsBefore)
		return true;
	if (!block)
		return false;
	if (d->clock->isVirtual() && !d->timers.empty())
	{
		d->clock->advanceTo(d->timers.begin()->first.deadline);
		return d->runDueTimers();
	}
	int timeoutMs = -1;
	if (!d->timers.empty())
	{
		int64_t wait = d->timers.begin()->first.deadline - d->clock->nowMs();
		timeoutMs = int(std::clamp<int64_t>(wait, 0, INT_MAX));
	}
	worked = d->pollWatches(timeoutMs);
	worked |= d->runDueTimers();
	return worked;
}

void eMainloop::post(std::function<void()> fn)
{
	{
		std::lock_guard<std::mutex> lock(d->postMutex);
		d->posted.push_back(std::move(fn));
	}
	uint64_t one = 1;
	while (write(d->wakeFd, &one, sizeof(one)) < 0 && errno == EINTR)
	{
	}
}

void eMainloop::runInLoop(std::function<void()> fn)
{
	if (isLoopThread())
		fn();
	else
		post(std::move(fn));
}

bool eMainloop::isLoopThread() const
{
	return d->loopThread.load() == std::this_thread::get_id();
}

eMainloop::WatchId eMainloop::addWatch(int fd, short events, std::function<void(int fd, short revents)> cb)
{
	WatchId id = d->nextWatch++;
	d->watches.emplace(id, std::make_shared<Watch>(Watch{fd, events, std::move(cb)}));
	return id;
}

void eMainloop::removeWatch(WatchId id)
{
	d->watches.erase(id);
}

eMainloop::IdleHookId eMainloop::addIdleHook(std::function<bool()> hook)
{
	IdleHookId id = d->nextHook++;
	d->hooks.emplace(id, std::make_shared<std::function<bool()>>(std::move(hook)));
	return id;
}

void eMainloop::removeIdleHook(IdleHookId id)
{
	d->hooks.erase(id);
}

void eMainloop::registerTimer(eTimer *t)
{
	t->m_sequence = ++d->timerSequence;
	d->timers.emplace(TimerKey{t->m_deadline, t->m_sequence}, t);
}

void eMainloop::unregisterTimer(eTimer *t)
{
	auto it = d->timers.find(TimerKey{t->m_deadline, t->m_sequence});
	if (it != d->timers.end() && it->second == t)
		d->timers.erase(it);
}

eTimer::eTimer(eMainloop *context) : m_context(context)
{
}

eTimer::~eTimer()
{
	stop();
}

void eTimer::start(long msec, bool singleShot)
{
	if (!m_context)
	{
		eWarning("eTimer: started without a main loop");
		return;
	}
	if (m_active)
		m_context->unregisterTimer(this);
	if (msec < 0)
		msec = 0;
	m_interval = msec;
	m_singleShot = singleShot;
	m_deadline = m_context->nowMs() + msec;
	m_active = true;
	m_context->registerTimer(this);
}

void eTimer::stop()
{
	if (!m_active)
		return;
	m_active = false;
	m_context->unregisterTimer(this);
}

void eTimer::activate()
{
	if (!m_active)
		return;
	m_context->unregisterTimer(this);
	if (m_singleShot)
		m_active = false;
	else
	{
		// Keep the timer's phase, but skip ticks a stall made it miss instead of
		// firing them in a burst: the next deadline is the first one after now.
		int64_t now = m_context->nowMs();
		int64_t next = m_deadline + m_interval;
		if (m_interval > 0 && next <= now)
			next = m_deadline + ((now - m_deadline) / m_interval + 1) * m_interval;
		else if (m_interval == 0)
			next = now;
		m_deadline = next;
		m_context->registerTimer(this);
	}
	// The timeout may stop, restart or destroy this timer; nothing touches it after.
	timeout.emit();
}
