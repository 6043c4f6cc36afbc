#ifndef BOX_PVRFIFO_H
#define BOX_PVRFIFO_H

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The box's playback device: a FIFO that the plug-in's feeder writes transport
// stream into and the decoder reads.
//
// Both ends are held open for the FIFO's whole life. The read end is what the
// decoder reads; the write end is never written, but while it is open the read end
// never sees end-of-file, so a feeder that closes the device after one stream and
// opens it again for the next (or dies in the middle of a packet) does not end the
// reader. Holding the read end is also what lets the feeder's blocking open succeed.
class PvrFifo
{
public:
	PvrFifo() = default;
	~PvrFifo();
	PvrFifo(const PvrFifo &) = delete;
	PvrFifo &operator=(const PvrFifo &) = delete;

	// Makes the FIFO at path (its folder too when missing; a regular file in its
	// place is replaced) and opens both ends without blocking. False with error().
	bool open(const std::string &path);
	void close();
	bool isOpen() const { return m_readFd >= 0; }
	int readFd() const { return m_readFd; }
	const std::string &error() const { return m_error; }

	// Reads what is there without waiting: the byte count, 0 when the FIFO is
	// empty, -1 on a read error.
	ssize_t readSome(uint8_t *buffer, size_t size);
	// Reads and drops what the FIFO holds now, at most its capacity, so a writer
	// that keeps refilling it cannot hold the caller. Returns the bytes dropped.
	size_t drain();
	// The bytes waiting in the FIFO.
	size_t pending() const;

private:
	std::string m_error;
	int m_readFd = -1;
	int m_writeFd = -1;
};

#endif
