#ifndef BOX_WAKEEVENT_H
#define BOX_WAKEEVENT_H

// A descriptor that a thread blocked in poll watches beside its data, so that
// another thread can wake it for a stop or a change of state.
class WakeEvent
{
public:
	WakeEvent() = default;
	~WakeEvent();
	WakeEvent(const WakeEvent &) = delete;
	WakeEvent &operator=(const WakeEvent &) = delete;

	bool open();
	void close();
	int fd() const { return m_fd; }
	// Makes the descriptor readable; callable from any thread.
	void notify();
	// Makes it unreadable again. The waiter clears it before it looks at the state
	// that a notify announces, so no change is missed.
	void clear();

private:
	int m_fd = -1;
};

#endif
