// Sends a transport stream from a loopback sender through the engine's stream
// path (stream request, pre-buffering, receiver, buffer, feeder) into a FIFO at
// /dev/pvr that a sink drains, once as fast as possible and once paced at
// 10 Mbit/s. Beside each run the same bytes go through a plain read/write copy
// loop, the yardstick. Prints MB/s and the CPU seconds of the whole process per
// 100 MB; asserts nothing.
//
//   pipeline [--megabytes N] [--paced-seconds S]

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "engine/enginetimings.h"
#include "host/econfig.h"
#include "host/log.h"
#include "host/paths.h"

namespace
{
using Clock = std::chrono::steady_clock;

constexpr double megabyte = 1000.0 * 1000.0;
constexpr long pacedBitsPerSecond = 10 * 1000 * 1000;

// A megabyte or so of transport stream with video and audio PES starts, sent
// over and over.
std::string patternBlock()
{
	std::string out;
	for (int i = 0; i < 5577; ++i)
	{
		std::string p(188, char(i * 7 + 1));
		bool audio = i % 10 == 3;
		int pid = audio ? 0xC8 : 0x64;
		bool start = audio || i % 25 == 0;
		p[0] = 0x47;
		p[1] = char((start ? 0x40 : 0) | (pid >> 8));
		p[2] = char(pid & 0xFF);
		p[3] = 0x10;
		if (start)
		{
			const char pes[] = {0, 0, 1, char(audio ? 0xC0 : 0xE0)};
			p.replace(4, 4, pes, 4);
		}
		out += p;
	}
	return out;
}

double cpuSeconds()
{
	rusage usage{};
	getrusage(RUSAGE_SELF, &usage);
	return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
		   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool sendAll(int fd, const char *data, size_t size)
{
	while (size > 0)
	{
		ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return false;
		data += n;
		size -= size_t(n);
	}
	return true;
}

// VLC on loopback, both ports in one: "GET /dboxstream" gets the stream, paced
// or not, and then the end of the connection; any other request a bare
// "HTTP/1.0 200 OK".
class LoopbackSender
{
public:
	LoopbackSender(size_t streamBytes, long bytesPerSecond)
		: m_bytes(streamBytes), m_rate(bytesPerSecond), m_pattern(patternBlock())
	{
		m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
		sockaddr_in addr{};
		addr.sin_family = AF_INET;
		addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
		socklen_t len = sizeof(addr);
		if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) != 0 ||
			listen(m_listener, 16) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr *>(&addr), &len) != 0 ||
			pipe2(m_stop, O_CLOEXEC) != 0)
		{
			perror("pipeline: loopback sender");
			exit(1);
		}
		m_port = ntohs(addr.sin_port);
		m_thread = std::thread([this] { run(); });
	}

	~LoopbackSender()
	{
		char stop = 'x';
		if (write(m_stop[1], &stop, 1) < 0)
			perror("pipeline: stopping the sender");
		m_thread.join();
		close(m_listener);
		close(m_stop[0]);
		close(m_stop[1]);
	}

	int port() const { return m_port; }

private:
	void run()
	{
		for (;;)
		{
			pollfd p[2] = {{m_listener, POLLIN, 0}, {m_stop[0], POLLIN, 0}};
			if (poll(p, 2, -1) < 0 && errno != EINTR)
				return;
			if (p[1].revents)
				return;
			if (!p[0].revents)
				continue;
			int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
			if (fd >= 0)
			{
				serve(fd);
				close(fd);
			}
		}
	}

	void serve(int fd)
	{
		std::string head;
		char buffer[1024];
		while (head.find("\r\n\r\n") == std::string::npos)
		{
			ssize_t n = recv(fd, buffer, sizeof(buffer), 0);
			if (n <= 0)
				return;
			head.append(buffer, size_t(n));
		}
		const char answer[] = "HTTP/1.0 200 OK\r\n\r\n";
		if (!sendAll(fd, answer, sizeof(answer) - 1) || head.compare(0, 16, "GET /dboxstream ") != 0)
			return;

		// Paced in pieces of a twentieth of a second.
		size_t piece = m_rate > 0 ? size_t(m_rate / 20) : m_pattern.size();
		auto start = Clock::now();
		size_t sent = 0;
		while (sent < m_bytes)
		{
			if (m_rate > 0)
				std::this_thread::sleep_until(start + std::chrono::microseconds(long(double(sent) * 1e6 / double(m_rate))));
			size_t offset = sent % m_pattern.size();
			size_t n = std::min({piece, m_bytes - sent, m_pattern.size() - offset});
			if (!sendAll(fd, m_pattern.data() + offset, n))
				return;
			sent += n;
		}
		shutdown(fd, SHUT_WR);
	}

	size_t m_bytes;
	long m_rate;
	std::string m_pattern;
	int m_listener = -1;
	int m_stop[2] = {-1, -1};
	int m_port = 0;
	std::thread m_thread;
};

// Drains the FIFO until its writer closes it, counting the bytes.
class FifoSink
{
public:
	explicit FifoSink(const std::string &path)
	{
		m_thread = std::thread([this, path] {
			int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
			if (fd < 0)
				return;
			std::vector<char> buffer(1 << 20);
			for (;;)
			{
				ssize_t n = read(fd, buffer.data(), buffer.size());
				if (n < 0 && errno == EINTR)
					continue;
				if (n <= 0)
					break;
				m_bytes += size_t(n);
			}
			close(fd);
		});
	}
	// Waits for the writer's end.
	size_t finish()
	{
		m_thread.join();
		return m_bytes;
	}

private:
	std::atomic<size_t> m_bytes{0};
	std::thread m_thread;
};

struct Result
{
	size_t bytes = 0;
	double seconds = 0;
	double cpu = 0;
	// The part of the time the engine's start sequence took, with its fixed
	// waits between the requests and after each pre-buffered block.
	double startSeconds = -1;
};

void print(const char *what, const Result &r)
{
	double mb = double(r.bytes) / megabyte;
	printf("%-32s %7.1f MB in %6.2f s: %8.1f MB/s, %6.3f CPU s per 100 MB", what, mb, r.seconds,
		r.seconds > 0 ? mb / r.seconds : 0.0, mb > 0 ? r.cpu * 100.0 / mb : 0.0);
	if (r.startSeconds >= 0)
		printf(" (the start: %.2f s)", r.startSeconds);
	printf("\n");
	fflush(stdout);
}

Result measure(const std::function<void(Clock::time_point start, Result &)> &run, const std::string &fifo)
{
	FifoSink sink(fifo);
	double cpu = cpuSeconds();
	auto start = Clock::now();
	Result r;
	run(start, r);
	r.bytes = sink.finish();
	r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
	r.cpu = cpuSeconds() - cpu;
	return r;
}

// The engine's path: a whole start, then the threads until the end of the stream.
Result throughEngine(size_t bytes, long rate, const std::string &fifo)
{
	LoopbackSender sender(bytes, rate);
	eString settings = eString::format("<vlc><server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" "
									   "stream-port=\"%d\"/></vlc>",
		sender.port(), sender.port());
	std::ofstream(hostPath("/var/tuxbox/config/quelt.xml").c_str()) << settings;
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	return measure(
		[&](Clock::time_point start, Result &r) {
			engine->control("start2", "bench%2ets", 0);
			if (engine->status != STATUS_STARTED)
			{
				fprintf(stderr, "pipeline: the engine did not start\n");
				exit(1);
			}
			r.startSeconds = std::chrono::duration<double>(Clock::now() - start).count();
			engine->status.waitFor(STATUS_IDLE, std::chrono::hours(1));
			killThreads_stream();
		},
		fifo);
}

// The yardstick: one thread reads the socket and writes the FIFO.
Result throughCopyLoop(size_t bytes, long rate, const std::string &fifo)
{
	LoopbackSender sender(bytes, rate);
	return measure(
		[&](Clock::time_point, Result &) {
			int in = tcpOpen_stream("127.0.0.1", sender.port(), 2);
			int out = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
			const char request[] = "GET /dboxstream HTTP/1.0\r\n\r\n";
			if (in < 0 || out < 0 || !sendAll(in, request, sizeof(request) - 1))
			{
				fprintf(stderr, "pipeline: the copy loop cannot start\n");
				exit(1);
			}
			int flags = fcntl(in, F_GETFL);
			fcntl(in, F_SETFL, flags & ~O_NONBLOCK);
			std::vector<char> block(videoBlockSize);
			bool head = true;
			for (;;)
			{
				ssize_t n = recv(in, block.data(), block.size(), 0);
				if (n < 0 && errno == EINTR)
					continue;
				if (n <= 0)
					break;
				size_t skip = 0;
				if (head)
				{
					// The answer's head is no stream.
					head = false;
					const char *end = static_cast<const char *>(memmem(block.data(), size_t(n), "\r\n\r\n", 4));
					skip = end ? size_t(end - block.data()) + 4 : 0;
				}
				for (size_t done = skip; done < size_t(n);)
				{
					ssize_t w = write(out, block.data() + done, size_t(n) - done);
					if (w < 0 && errno == EINTR)
						continue;
					if (w <= 0)
						break;
					done += size_t(w);
				}
			}
			close(in);
			close(out);
		},
		fifo);
}

long argument(int argc, char **argv, const char *name, long fallback)
{
	for (int i = 1; i + 1 < argc; ++i)
		if (strcmp(argv[i], name) == 0)
			return atol(argv[i + 1]);
	return fallback;
}
} // namespace

int main(int argc, char **argv)
{
	long megabytes = std::max(8L, argument(argc, argv, "--megabytes", 256));
	long pacedSeconds = std::max(2L, argument(argc, argv, "--paced-seconds", 8));

	char pattern[] = "/tmp/quelt-pipeline-XXXXXX";
	if (!mkdtemp(pattern))
	{
		perror("pipeline: mkdtemp");
		return 1;
	}
	std::string root = pattern;
	std::filesystem::create_directories(root + "/var/tuxbox/config/enigma");
	std::filesystem::create_directories(root + "/dev");
	hostpaths::setRoot(root);
	hostlog::setLogFile((root + "/log").c_str());
	eConfig::getInstance()->open(hostPath("/var/tuxbox/config/enigma/config"));
	std::string fifo = hostPath("/dev/pvr").c_str();
	if (mkfifo(fifo.c_str(), 0600) != 0)
	{
		perror("pipeline: mkfifo");
		return 1;
	}
	// No play-out wait: the sink has everything once the feeder is done.
	EngineTimings timings;
	timings.playOutMs = 0;
	setEngineTimings(timings);

	size_t fastBytes = size_t(megabytes) * 1000 * 1000;
	long pacedRate = pacedBitsPerSecond / 8;
	size_t pacedBytes = size_t(pacedRate) * size_t(pacedSeconds);

	printf("Transport stream over loopback into a FIFO; CPU time of the whole process.\n");
	print("engine, as fast as possible", throughEngine(fastBytes, 0, fifo));
	print("copy loop, as fast as possible", throughCopyLoop(fastBytes, 0, fifo));
	print("engine, paced at 10 Mbit/s", throughEngine(pacedBytes, pacedRate, fifo));
	print("copy loop, paced at 10 Mbit/s", throughCopyLoop(pacedBytes, pacedRate, fifo));

	hostlog::setLogFile(nullptr);
	eConfig::getInstance()->close();
	std::error_code ignored;
	std::filesystem::remove_all(root, ignored);
	return 0;
}
