// The engine's small HTTP client: one request per TCP connection, written raw,
// and judged by the status line of the answer.

#include "engine/engine.h"
#include "engine/enginetimings.h"
#include "vlc/vlcdialect.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace
{
// The spacing of connection attempts.
constexpr int attemptMs = 40;
// The answer buffer: at most 511 bytes of an answer are read.
constexpr int answerBufferSize = 512;

using SteadyClock = std::chrono::steady_clock;

int msUntil(SteadyClock::time_point deadline)
{
	auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
	return left > 0 ? static_cast<int>(std::min<long long>(left, INT_MAX)) : 0;
}

// Waits until fd shows one of events or the deadline passes, across signals.
// Returns poll's result (positive when ready, 0 at the deadline, negative on an
// error) and the events seen.
int pollUntil(int fd, short events, SteadyClock::time_point deadline, short *revents)
{
	for (;;)
	{
		pollfd p{fd, events, 0};
		int r = poll(&p, 1, msUntil(deadline));
		if (r < 0 && errno == EINTR)
			continue;
		*revents = p.revents;
		return r;
	}
}

void sleepUntil(SteadyClock::time_point deadline)
{
	std::this_thread::sleep_until(deadline);
}
} // namespace

int portNumber_stream(const eString &text)
{
	char *end = nullptr;
	errno = 0;
	long port = strtol(text.c_str(), &end, 10);
	if (end == text.c_str() || errno == ERANGE || port <= 0 || port > 65535)
		return 0;
	return static_cast<int>(port);
}

int tcpOpen_stream(eString address, int port, int seconds)
{
	if (seconds <= 0)
		return -1;
	// An address that is no dotted IPv4 address, or no port, can never connect:
	// fail at once rather than spend every attempt on it.
	sockaddr_in addr{};
	addr.sin_family = AF_INET;
	if (port <= 0 || port > 65535 || inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1)
		return -1;
	addr.sin_port = htons(static_cast<uint16_t>(port));

	// Non-blocking for its whole life: every later read waits in poll first.
	int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
	if (fd < 0)
		return -1;

	long long attempts = static_cast<long long>(seconds) * 100;
	for (long long i = 0; i < attempts; ++i)
	{
		auto next = SteadyClock::now() + std::chrono::milliseconds(attemptMs);
		// On a non-blocking socket the first call starts the connection and a
		// later one reports how it went: 0 once it is established, the error once
		// it failed (after which the next call starts afresh).
		if (connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof(addr)) == 0 || errno == EISCONN)
			return fd;
		if (errno == EINPROGRESS || errno == EALREADY || errno == EINTR)
		{
			// Under way: the next attempt comes as soon as the socket turns
			// writable without an error, so an answering peer is not kept
			// waiting for the rest of the spacing.
			short revents = 0;
			if (pollUntil(fd, POLLOUT, next, &revents) > 0 && (revents & POLLOUT) &&
				!(revents & (POLLERR | POLLHUP)))
				continue;
		}
		sleepUntil(next);
	}
	close(fd);
	return -1;
}

int eQUELTEngine::tcpRequest_stream(int socket, char *buffer, int size)
{
	if (!buffer || size <= 0)
		return -1;
	if (socket < 0)
	{
		buffer[0] = '\0';
		return -1;
	}
	auto deadline = SteadyClock::now() + std::chrono::milliseconds(engineTimings().answerTimeoutMs);

	size_t length = strlen(buffer);
	size_t sent = 0;
	while (sent < length)
	{
		ssize_t n = send(socket, buffer + sent, length - sent, MSG_NOSIGNAL);
		if (n > 0)
		{
			sent += static_cast<size_t>(n);
			continue;
		}
		if (n < 0 && errno == EINTR)
			continue;
		short revents = 0;
		if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && pollUntil(socket, POLLOUT, deadline, &revents) > 0)
			continue;
		// The peer is gone or will not take the request: whatever it said
		// before, or its end of file, is read below.
		break;
	}

	// The answer is judged by its status line. TCP may split even that, so
	// reading goes on until a line end, the end of the buffer, the peer's end
	// of file or the deadline, whichever comes first.
	size_t capacity = static_cast<size_t>(size) - 1;
	size_t got = 0;
	bool answered = false;
	while (got < capacity)
	{
		short revents = 0;
		if (pollUntil(socket, POLLIN, deadline, &revents) == 0)
			break;
		answered = true;
		ssize_t n = recv(socket, buffer + got, capacity - got, 0);
		if (n > 0)
		{
			got += static_cast<size_t>(n);
			if (memchr(buffer, '\n', got))
				break;
			continue;
		}
		if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
			continue;
		break;
	}
	buffer[got] = '\0';
	if (!answered)
	{
		buffer[0] = '\0';
		return -1;
	}
	return 0;
}

int eQUELTEngine::sendRequest2VLC_stream(eString path)
{
	serverConfig_stream server = activeServerCopy();
	int fd = tcpOpen_stream(server.ip, portNumber_stream(server.webifPort), 2);
	if (fd < 0)
		return -1;

	// The request and the answer share one buffer; a long request (a deep path
	// in a transcoding request) gets a larger one, the answer still only 511 bytes.
	const VlcDialect &dialect = activeVlcDialect();
	eString request = "GET /" + path + " HTTP/1.0\r\n" + dialect.rawRequestHeaders(vlcCredentials(server)) + "\r\n";
	std::vector<char> buffer(std::max<size_t>(answerBufferSize, request.size() + 1));
	memcpy(buffer.data(), request.c_str(), request.size() + 1);

	int result = -1;
	if (tcpRequest_stream(fd, buffer.data(), answerBufferSize) == 0 && dialect.commandSucceeded(buffer.data()))
		result = 0;
	close(fd);
	return result;
}
