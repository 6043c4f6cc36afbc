#ifndef HOST_EIOBUFFER_H
#define HOST_EIOBUFFER_H

#include <deque>
#include <memory>

// A byte queue: write appends at the back, read takes from the front. The bytes
// live in chunks of a fixed size, so a long queue never moves what it already
// holds and a read frees whole chunks as it passes them.
//
// Not locked: the stream buffer shares one queue between two threads and guards
// it with its own mutex around every call.
class eIOBuffer
{
public:
	explicit eIOBuffer(int chunkSize);
	eIOBuffer(const eIOBuffer &) = delete;
	eIOBuffer &operator=(const eIOBuffer &) = delete;

	// Appends len bytes; a length of 0 or less appends nothing.
	void write(const void *data, int len);
	// Removes up to len bytes from the front into dest; returns how many it moved.
	int read(void *dest, int len);
	// Copies up to len bytes, starting offset bytes behind the front, without
	// removing them; returns how many it copied (0 when offset is past the end).
	int peek(void *dest, int len, int offset = 0) const;
	// Drops up to len bytes from the front; returns how many it dropped.
	int skip(int len);
	int size() const { return static_cast<int>(m_size); }
	bool empty() const { return m_size == 0; }
	void clear();

private:
	int m_chunkSize;
	std::deque<std::unique_ptr<char[]>> m_chunks;
	// Offset of the first byte in the front chunk, and of the first free byte in
	// the back chunk.
	int m_readPos = 0;
	int m_writePos = 0;
	size_t m_size = 0;
};

#endif
