#ifndef HOST_ETIMERMANAGER_H
#define HOST_ETIMERMANAGER_H

#include <functional>

// The receiver's recording-timer manager; the plug-in only asks how many timers
// exist. Where the count comes from is the host's business (the box counts the
// entries of its timer list file).
class eTimerManager
{
public:
	static eTimerManager *getInstance();
	static eTimerManager *instance() { return getInstance(); }

	int timerCount() const { return m_counter ? m_counter() : 0; }
	void setCounter(std::function<int()> counter) { m_counter = std::move(counter); }

private:
	std::function<int()> m_counter;
};

#endif
