#include "engine/enginestatus.h"

void EngineStatus::store(int value)
{
	m_value.store(value);
	notifyChange();
}

bool EngineStatus::change(int from, int value)
{
	if (!m_value.compare_exchange_strong(from, value))
		return false;
	notifyChange();
	return true;
}

void EngineStatus::notifyChange()
{
	{
		// Taken and released so that a waiter between its check and its wait
		// cannot miss the notification.
		std::lock_guard<std::mutex> lock(m_mutex);
	}
	m_changed.notify_all();
	if (m_onChange)
		m_onChange();
}

bool EngineStatus::waitFor(int value, std::chrono::milliseconds timeout) const
{
	std::unique_lock<std::mutex> lock(m_mutex);
	return m_changed.wait_for(lock, timeout, [&] { return m_value.load() == value; });
}
