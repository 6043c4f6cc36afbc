#ifndef ENGINE_ENGINESTATUS_H
#define ENGINE_ENGINESTATUS_H

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The engine's play status: a word that the main window, the engine and its two
// worker threads read and write. It reads and assigns like an int; every
// assignment also runs the change hook, which wakes the worker threads wherever
// they wait, so a thread that holds for a pause notices its end at once.
//
// An assignment must not be made with the stream buffer's mutex held: the hook
// takes it.
class EngineStatus
{
public:
	explicit EngineStatus(int initial, void (*onChange)() = nullptr) : m_value(initial), m_onChange(onChange) {}
	EngineStatus(const EngineStatus &) = delete;
	EngineStatus &operator=(const EngineStatus &) = delete;

	EngineStatus &operator=(int value)
	{
		store(value);
		return *this;
	}
	operator int() const { return load(); }
	int load() const { return m_value.load(); }
	void store(int value);
	// Sets the status to value only while it is still from, in one step, so a
	// worker thread's change made in between is never overwritten. True when it
	// was changed.
	bool change(int from, int value);

	// Waits until the status is value; false when the timeout passed first.
	bool waitFor(int value, std::chrono::milliseconds timeout) const;

private:
	void notifyChange();

	std::atomic<int> m_value;
	void (*const m_onChange)();
	mutable std::mutex m_mutex;
	mutable std::condition_variable m_changed;
};

#endif
