// Reception of the transport stream: the stream connection, pre-buffering with
// its progress, the PID search and the receiver thread that keeps the buffer
// filled.

#include "engine/engine.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/enginetimings.h"
#include "host/log.h"

namespace
{
// The size of one transport packet.
constexpr int packetSize = 188;
// The piece the PID search moves through at a time: 348 packets.
constexpr int searchPiece = 65424;
// How many empty receives in a row pre-buffering tolerates after a readiness
// that brought nothing; each one follows a wait in poll, so this is no spin.
constexpr long maxEmptyReceives = 1000000;
// A poller without a stop descriptor looks at its stop request this often.
constexpr int fallbackPollMs = 100;

// -- The connections the receiver may still be polling.
std::mutex connectionMutex;
bool receiverHoldsConnections = false; // -- protected by connectionMutex, as is the list below
std::vector<int> retiredConnections;

// The generation of the connection in streamFd, counted up with every new one,
// and the generation whose connection has ended. The feeder compares the two.
std::atomic<unsigned> streamGeneration{0};
std::atomic<unsigned> endedGeneration{~0u};

void closeRetiredConnections()
{
	std::vector<int> fds;
	{
		std::lock_guard<std::mutex> lock(connectionMutex);
		fds.swap(retiredConnections);
	}
	for (int fd : fds)
		close(fd);
}

void markEnded(unsigned generation)
{
	endedGeneration = generation;
	wakeStreamThreads();
}

// Whether the receiver should read now: not paused, room in the buffer, and a
// connection that has not ended. Called with bufferMutex held.
bool receiverMayRead()
{
	return streamGeneration != endedGeneration && eQUELTEngine::getInstance()->status != STATUS_PAUSED &&
		   tsBuffer_Stream.size() < INITIALBUFFER;
}
} // namespace

int streamBlockSize_stream()
{
	int block = isStream ? videoBlockSize : INITIALBUFFER / 4;
	return std::max(block, packetSize);
}

void raisePriority_stream()
{
	// Needs privileges the box may not have; without them the thread simply
	// keeps the normal priority.
	int ignored = nice(-1);
	(void)ignored;
}

void installStreamConnection(int fd)
{
	retireStreamConnection(streamFd.exchange(fd));
	++streamGeneration;
	wakeStreamThreads();
}

void retireStreamConnection(int fd)
{
	if (fd < 0)
		return;
	{
		std::lock_guard<std::mutex> lock(connectionMutex);
		if (receiverHoldsConnections)
		{
			retiredConnections.push_back(fd);
			receiverStop.wake();
			return;
		}
	}
	close(fd);
}

bool streamSenderClosed()
{
	return endedGeneration == streamGeneration;
}

int eQUELTEngine::requestStream()
{
	serverConfig_stream server = activeServerCopy();
	int fd = tcpOpen_stream(server.ip, portNumber_stream(server.streamPort), 1);
	if (fd < 0)
	{
		eDebug("[quelt]: no connection to the stream port %s", server.streamPort.c_str());
		return -1;
	}
	// The answer's first read is dropped whole, stream bytes that came with the
	// status line included; the stream is taken from the next read on.
	char buffer[512];
	strcpy(buffer, "GET /dboxstream HTTP/1.0\r\n\r\n");
	if (tcpRequest_stream(fd, buffer, sizeof(buffer)) != 0)
	{
		eDebug("[quelt]: no answer to the stream request");
		close(fd);
		return -2;
	}
	if (!strstr(buffer, "HTTP/1.0 200 OK"))
	{
		eDebug("[quelt]: the stream request was refused");
		close(fd);
		return -3;
	}
	// Published only now: a receiver that is running must not read the answer.
	installStreamConnection(fd);
	return 0;
}

int bufferVLC(int socket, int target)
{
	int block = streamBlockSize_stream();
	BLOCKSIZE = block;
	std::vector<char> data(block);
	const int waitMs = engineTimings().prebufferWaitMs;
	eQUELTEngine *engine = eQUELTEngine::getInstance();

	int held = 0;
	long emptyReceives = 0;
	int ready = 1;
	while (ready > 0 && held < target)
	{
		pollfd p{socket, POLLIN, 0};
		ready = poll(&p, 1, waitMs);
		if (ready < 0 && errno == EINTR)
		{
			ready = 1;
			continue;
		}
		if (ready == 0)
			break;
		ssize_t n = recv(socket, data.data(), static_cast<size_t>(block), 0);
		if (n <= 0)
		{
			// The sender's end of file or a broken connection ends pre-buffering
			// at once; a readiness that brought nothing is waited out again.
			bool transient = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
			if (!transient || ++emptyReceives > maxEmptyReceives)
				ready = 0;
			continue;
		}
		emptyReceives = 0;
		{
			std::lock_guard<std::mutex> lock(bufferMutex);
			tsBuffer_Stream.write(data.data(), static_cast<int>(n));
			held = tsBuffer_Stream.size();
		}
		long long q = (static_cast<long long>(target) - held) * 100 / target;
		engine->updateBufferingInfos(static_cast<int>(100.0 - 0.92 * static_cast<double>(q)));
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	return held;
}

int eQUELTEngine::get_pid_stream(const unsigned char *p)
{
	return ((p[0] & 0x1F) << 8) | p[1];
}

void eQUELTEngine::find_avpids_stream(eIOBuffer *buffer, int *vpid, int *apid, int *ac3)
{
	*vpid = -1;
	*apid = -1;
	*ac3 = -1;
	if (!buffer)
		return;

	std::vector<unsigned char> piece(searchPiece);
	int total = buffer->size();
	while (total > 0)
	{
		// The piece goes round to the back, so after the whole pass the buffer
		// holds what it held, in the same order.
		int n = buffer->read(piece.data(), std::min(total, searchPiece));
		if (n <= 0)
			break;
		buffer->write(piece.data(), n);
		total -= n;
		if (*vpid != -1 && *apid != -1)
			continue;

		int p = 0;
		while (p < n - 7 && (*vpid == -1 || *apid == -1))
		{
			const unsigned char *packet = piece.data() + p;
			if (packet[0] != 0x47)
			{
				++p;
				continue;
			}
			// Only a packet that starts a PES packet names its stream.
			if (!(packet[1] & 0x40))
			{
				p += packetSize;
				continue;
			}
			int adaptation = (packet[3] & 0x20) ? packet[4] + 1 : 0;
			int idPos = p + adaptation + 7;
			if (idPos >= n)
			{
				p += packetSize;
				continue;
			}
			int streamId = piece[idPos];
			int pid = get_pid_stream(packet + 1);
			if (streamId >= 0xE0 && streamId <= 0xEF)
				*vpid = pid;
			else if (streamId >= 0xC0 && streamId <= 0xDF)
			{
				*apid = pid;
				*ac3 = 0;
			}
			else if (streamId == 0xBD)
			{
				*apid = pid;
				*ac3 = 1;
			}
			p += packetSize;
		}
	}
}

void receiverThread_stream(std::atomic<int> *fd)
{
	int block = streamBlockSize_stream();
	BLOCKSIZE = block;
	std::vector<char> data(block);
	raisePriority_stream();
	const int pollMs = receiverStop.fd() >= 0 ? -1 : fallbackPollMs;

	for (;;)
	{
		++receiverPasses;
		{
			// Holds while paused, while the buffer is full and after the sender
			// has closed the connection, until that changes or a stop comes.
			std::unique_lock<std::mutex> lock(bufferMutex);
			bufferChanged.wait(lock, [] { return receiverStop.requested() || receiverMayRead(); });
		}
		if (receiverStop.requested())
			break;
		closeRetiredConnections();

		// The generation first: a connection that "play" installs meanwhile is
		// then at worst taken as ended once more and read on the next pass.
		unsigned generation = streamGeneration;
		int socket = fd->load();
		if (socket < 0)
		{
			markEnded(generation);
			continue;
		}
		pollfd p[2] = {{socket, POLLIN, 0}, {receiverStop.fd(), POLLIN, 0}};
		int ready = poll(p, 2, pollMs);
		if (ready < 0 && errno != EINTR)
		{
			eDebug("[quelt]: waiting for the stream failed: %s", strerror(errno));
			markEnded(generation);
			continue;
		}
		if (p[1].revents)
			receiverStop.clearWake();
		if (ready <= 0 || !p[0].revents)
			continue;

		ssize_t n = recv(socket, data.data(), static_cast<size_t>(block), 0);
		if (n > 0)
		{
			bool wasEmpty;
			{
				std::lock_guard<std::mutex> lock(bufferMutex);
				wasEmpty = tsBuffer_Stream.empty();
				tsBuffer_Stream.write(data.data(), static_cast<int>(n));
			}
			// Only a feeder that found the buffer empty waits for data.
			if (wasEmpty)
				bufferChanged.notify_all();
		}
		else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
		{
			eDebug("[quelt]: the sender has closed the stream");
			markEnded(generation);
		}
	}
	receiverThreadCleanup_stream(fd);
}

void receiverThreadCleanup_stream(std::atomic<int> *fd)
{
	{
		std::lock_guard<std::mutex> lock(connectionMutex);
		receiverHoldsConnections = false;
	}
	closeRetiredConnections();
	int socket = fd->exchange(-1);
	if (socket >= 0)
		close(socket);
}

void beginReceiving_stream()
{
	std::lock_guard<std::mutex> lock(connectionMutex);
	receiverHoldsConnections = true;
	endedGeneration = ~0u;
}
