#include "box/wakeevent.h"

#include <stdint.h>
#include <sys/eventfd.h>
#include <unistd.h>

WakeEvent::~WakeEvent()
{
	close();
}

bool WakeEvent::open()
{
	close();
	m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
	return m_fd >= 0;
}

void WakeEvent::close()
{
	if (m_fd >= 0)
		::close(m_fd);
	m_fd = -1;
}

void WakeEvent::notify()
{
	uint64_t one = 1;
	// The counter only saturates after 2^64 - 2 notifies; a failed write means it
	// is readable already, which is all a notify needs.
	ssize_t n = write(m_fd, &one, sizeof one);
	(void)n;
}

void WakeEvent::clear()
{
	uint64_t value = 0;
	ssize_t n = read(m_fd, &value, sizeof value);
	(void)n;
}
