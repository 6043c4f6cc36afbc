#include "engine/stoptoken.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "host/log.h"

StopToken::StopToken()
{
	m_fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
	if (m_fd < 0)
		eWarning("[quelt]: no stop descriptor for a worker thread");
}

StopToken::~StopToken()
{
	if (m_fd >= 0)
		close(m_fd);
}

void StopToken::request()
{
	// The flag first: a woken thread must find it set.
	m_requested = true;
	wake();
}

void StopToken::wake()
{
	if (m_fd < 0)
		return;
	uint64_t one = 1;
	// Only EINTR can stop the write: the counter does not overflow from wake-ups.
	while (write(m_fd, &one, sizeof(one)) < 0 && errno == EINTR)
	{
	}
}

void StopToken::clearWake()
{
	if (m_fd < 0)
		return;
	uint64_t count = 0;
	while (read(m_fd, &count, sizeof(count)) < 0 && errno == EINTR)
	{
	}
}

void StopToken::reset()
{
	m_requested = false;
	clearWake();
}
