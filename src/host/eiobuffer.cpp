#include "host/eiobuffer.h"

#include <algorithm>
#include <cstring>

eIOBuffer::eIOBuffer(int chunkSize) : m_chunkSize(chunkSize > 0 ? chunkSize : 1)
{
}

void eIOBuffer::write(const void *data, int len)
{
	const char *src = static_cast<const char *>(data);
	while (len > 0)
	{
		if (m_chunks.empty() || m_writePos == m_chunkSize)
		{
			m_chunks.push_back(std::make_unique_for_overwrite<char[]>(m_chunkSize));
			m_writePos = 0;
		}
		int n = std::min(len, m_chunkSize - m_writePos);
		std::memcpy(m_chunks.back().get() + m_writePos, src, n);
		m_writePos += n;
		m_size += n;
		src += n;
		len -= n;
	}
}

int eIOBuffer::peek(void *dest, int len, int offset) const
{
	if (len <= 0 || offset < 0 || size_t(offset) >= m_size)
		return 0;
	char *out = static_cast<char *>(dest);
	size_t want = std::min(size_t(len), m_size - offset);
	// Position of the first wanted byte counted from the start of the front chunk.
	size_t pos = size_t(m_readPos) + offset;
	size_t chunk = pos / m_chunkSize;
	size_t inChunk = pos % m_chunkSize;
	size_t done = 0;
	while (done < want)
	{
		size_t n = std::min(want - done, size_t(m_chunkSize) - inChunk);
		std::memcpy(out + done, m_chunks[chunk].get() + inChunk, n);
		done += n;
		++chunk;
		inChunk = 0;
	}
	return static_cast<int>(done);
}

int eIOBuffer::skip(int len)
{
	if (len <= 0 || m_size == 0)
		return 0;
	size_t want = std::min(size_t(len), m_size);
	size_t left = want;
	while (left > 0)
	{
		// The front chunk is full up to the chunk size unless it is also the back one.
		int end = m_chunks.size() == 1 ? m_writePos : m_chunkSize;
		size_t n = std::min(left, size_t(end - m_readPos));
		m_readPos += static_cast<int>(n);
		left -= n;
		if (m_readPos == end)
		{
			m_chunks.pop_front();
			m_readPos = 0;
			if (m_chunks.empty())
				m_writePos = 0;
		}
	}
	m_size -= want;
	return static_cast<int>(want);
}

int eIOBuffer::read(void *dest, int len)
{
	int n = peek(dest, len, 0);
	skip(n);
	return n;
}

void eIOBuffer::clear()
{
	m_chunks.clear();
	m_readPos = 0;
	m_writePos = 0;
	m_size = 0;
}
