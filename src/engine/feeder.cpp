// The feeder thread, which copies the stream buffer into /dev/pvr and winds the
// play-back down at the end of the stream, and the starting and ending of both
// worker threads.

#include "engine/engine.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>
#include <vector>

#include "engine/enginetimings.h"
#include "host/decoder.h"
#include "host/log.h"
#include "host/paths.h"

namespace
{
using SteadyClock = std::chrono::steady_clock;

const char *const pvrDevice = "/dev/pvr";
// A poller without a stop descriptor looks at its stop request this often.
constexpr int fallbackPollMs = 100;

int stopPollTimeout(int ms)
{
	if (pvrStop.fd() >= 0)
		return ms;
	return ms < 0 ? fallbackPollMs : std::min(ms, fallbackPollMs);
}

// Waits until the device takes data; false on a stop request or when it never
// will.
bool waitForDevice(int fd)
{
	for (;;)
	{
		pollfd p[2] = {{fd, POLLOUT, 0}, {pvrStop.fd(), POLLIN, 0}};
		int ready = poll(p, 2, stopPollTimeout(-1));
		if (pvrStop.requested())
			return false;
		if (ready < 0 && errno != EINTR)
			return false;
		if (ready <= 0)
			continue;
		if (p[0].revents & POLLOUT)
			return true;
		if (p[0].revents & (POLLERR | POLLHUP | POLLNVAL))
			return false;
	}
}

// Writes one block to the device as far as it takes it. The device is
// non-blocking, so a full device is waited for in poll, where a stop request
// ends the wait. A device that fails loses the block, as the receiver's does.
void writeBlock(int fd, const char *data, int size)
{
	if (fd < 0)
		return;
	while (size > 0)
	{
		ssize_t n = write(fd, data, static_cast<size_t>(size));
		if (n > 0)
		{
			data += n;
			size -= static_cast<int>(n);
			continue;
		}
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitForDevice(fd))
			continue;
		return;
	}
}

// Gives the decoder time to play what it holds; a stop request cuts it short.
void waitForPlayOut(int ms)
{
	auto deadline = SteadyClock::now() + std::chrono::milliseconds(ms);
	while (!pvrStop.requested())
	{
		auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
		if (left <= 0)
			return;
		pollfd p{pvrStop.fd(), POLLIN, 0};
		poll(&p, 1, stopPollTimeout(static_cast<int>(std::min<long long>(left, 1 << 30))));
	}
}

template <typename Body>
bool startThread(std::thread &handle, Body body, std::atomic<int> *fd)
{
	try
	{
		handle = std::thread(body, fd);
		return true;
	}
	catch (const std::system_error &e)
	{
		eWarning("[quelt]: cannot start a worker thread: %s", e.what());
		return false;
	}
}
} // namespace

void createThreads_stream()
{
	if (!receiver.joinable())
	{
		receiverStop.reset();
		beginReceiving_stream();
		if (!startThread(receiver, receiverThread_stream, &streamFd))
			receiverThreadCleanup_stream(&streamFd);
	}
	if (!pvr.joinable())
	{
		// A device that cannot be opened is not reported: the feeder then loses
		// every block and ends with the stream.
		pvrFd = open(hostPath(pvrDevice).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
		if (pvrFd < 0)
			eDebug("[quelt]: cannot open %s: %s", pvrDevice, strerror(errno));
		pvrStop.reset();
		if (!startThread(pvr, pvrThread_stream, &pvrFd))
		{
			int fd = pvrFd.exchange(-1);
			if (fd >= 0)
				close(fd);
		}
	}
}

void killPVRThread_stream()
{
	if (!pvr.joinable())
		return;
	pvrStop.request();
	wakeStreamThreads();
	pvr.join();
}

void killReceiverThread_stream()
{
	if (!receiver.joinable())
		return;
	receiverStop.request();
	wakeStreamThreads();
	receiver.join();
}

void killThreads_stream()
{
	killPVRThread_stream();
	killReceiverThread_stream();
}

void pvrThread_stream(std::atomic<int> *fd)
{
	int block = streamBlockSize_stream();
	BLOCKSIZE = block;
	std::vector<char> data(block);
	const EngineTimings timings = engineTimings();
	const auto stallTime = std::chrono::milliseconds(audioOnly ? timings.audioStallMs : timings.videoStallMs);
	EngineStatus &status = eQUELTEngine::getInstance()->status;
	paused1 = false;
	raisePriority_stream();

	auto lastData = SteadyClock::now();
	bool ended = false;
	while (!pvrStop.requested())
	{
		++feederPasses;
		if (status == STATUS_PAUSED)
		{
			if (!paused1)
			{
				Decoder::Pause(1);
				paused1 = true;
			}
			std::unique_lock<std::mutex> lock(bufferMutex);
			bufferChanged.wait(lock, [&] { return pvrStop.requested() || status != STATUS_PAUSED; });
			continue;
		}
		if (paused1)
		{
			paused1 = false;
			Decoder::Resume(true);
			// The pause was no stall: the stall time counts from here.
			lastData = SteadyClock::now();
		}

		int n = 0;
		bool wasFull = false;
		{
			std::unique_lock<std::mutex> lock(bufferMutex);
			wasFull = tsBuffer_Stream.size() >= INITIALBUFFER;
			n = tsBuffer_Stream.read(data.data(), block);
			if (n == 0)
			{
				// Empty: the stream has ended when the sender has closed it, or
				// when nothing has come for the stall time.
				if (streamSenderClosed())
					ended = true;
				else if (!bufferChanged.wait_until(lock, lastData + stallTime, [&] {
							 return pvrStop.requested() || status == STATUS_PAUSED || !tsBuffer_Stream.empty() ||
									streamSenderClosed();
						 }))
					ended = true;
			}
		}
		if (ended)
			break;
		if (n == 0)
			continue;
		// There is room in the buffer again for a receiver that holds on a full one.
		if (wasFull)
			bufferChanged.notify_all();
		lastData = SteadyClock::now();
		writeBlock(fd->load(), data.data(), n);
	}

	if (ended)
	{
		eDebug("[quelt]: end of stream");
		waitForPlayOut(timings.playOutMs);
		if (!pvrStop.requested())
		{
			std::lock_guard<std::mutex> lock(bufferMutex);
			tsBuffer_Stream.clear();
		}
	}
	pvrThreadCleanup_stream(fd);
}

void pvrThreadCleanup_stream(std::atomic<int> *fd)
{
	int device = fd->exchange(-1);
	if (device >= 0)
		close(device);
	killReceiverThread_stream();
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	if (engine->status != STATUS_PAUSED)
		engine->leaveStreamingClient_stream(OnThread::worker);
}
