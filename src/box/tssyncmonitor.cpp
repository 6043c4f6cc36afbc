#include "box/tssyncmonitor.h"

#include <cstring>

void TsSyncMonitor::reset()
{
	m_locked = false;
	m_toBoundary = 0;
}

unsigned TsSyncMonitor::feed(const uint8_t *data, size_t size)
{
	unsigned losses = 0;
	size_t i = 0;
	while (i < size)
	{
		if (!m_locked)
		{
			const void *sync = memchr(data + i, syncByte, size - i);
			if (!sync)
				return losses;
			i = size_t(static_cast<const uint8_t *>(sync) - data);
			m_locked = true;
			m_toBoundary = 0;
		}
		if (m_toBoundary >= size - i)
		{
			m_toBoundary -= size - i;
			return losses;
		}
		i += m_toBoundary;
		if (data[i] == syncByte)
		{
			m_toBoundary = packetSize;
		}
		else
		{
			++losses;
			m_locked = false;
		}
	}
	return losses;
}
