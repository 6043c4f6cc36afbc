#include "support/realvlc.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace
{
constexpr int startSeconds = 20;
constexpr int stopMs = 5000;
constexpr int requestMs = 5000;

long long nowMs()
{
	timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

void sleepMs(int ms)
{
	timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
	while (nanosleep(&ts, &ts) != 0 && errno == EINTR)
	{
	}
}

// The full path of a program found on PATH, or empty.
std::string findProgram(const char *name)
{
	const char *path = getenv("PATH");
	std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
	std::stringstream in(dirs);
	std::string dir;
	while (std::getline(in, dir, ':'))
	{
		std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
		if (access(candidate.c_str(), X_OK) == 0)
			return candidate;
	}
	return std::string();
}

// A port nobody listens on right now. VLC binds it a moment later; another
// process taking it in between is unlikely enough on loopback.
int freePort()
{
	int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fd < 0)
		return 0;
	sockaddr_in address{};
	address.sin_family = AF_INET;
	address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	socklen_t length = sizeof(address);
	int port = 0;
	if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0 &&
		getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
		port = ntohs(address.sin_port);
	close(fd);
	return port;
}

std::string base64(const std::string &text)
{
	static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::string out;
	size_t i = 0;
	for (; i + 2 < text.size(); i += 3)
	{
		unsigned v = (unsigned char)text[i] << 16 | (unsigned char)text[i + 1] << 8 | (unsigned char)text[i + 2];
		out += digits[v >> 18];
		out += digits[(v >> 12) & 63];
		out += digits[(v >> 6) & 63];
		out += digits[v & 63];
	}
	if (i + 1 == text.size())
	{
		unsigned v = (unsigned char)text[i] << 16;
		out += digits[v >> 18];
		out += digits[(v >> 12) & 63];
		out += "==";
	}
	else if (i + 2 == text.size())
	{
		unsigned v = (unsigned char)text[i] << 16 | (unsigned char)text[i + 1] << 8;
		out += digits[v >> 18];
		out += digits[(v >> 12) & 63];
		out += digits[(v >> 6) & 63];
		out += '=';
	}
	return out;
}

// Sends one request to the port on loopback and reads the answer to its end,
// within requestMs in all.
std::string exchange(int port, const std::string &request)
{
	int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
	if (fd < 0)
		return std::string();
	long long deadline = nowMs() + requestMs;
	auto waitFor = [&](short events) {
		for (;;)
		{
			long long left = deadline - nowMs();
			if (left <= 0)
				return false;
			pollfd p = {fd, events, 0};
			int n = poll(&p, 1, int(left));
			if (n > 0)
				return true;
			if (n < 0 && errno != EINTR)
				return false;
		}
	};
	sockaddr_in address{};
	address.sin_family = AF_INET;
	address.sin_port = htons(uint16_t(port));
	address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	std::string answer;
	bool connected = connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
	if (!connected && errno == EINPROGRESS && waitFor(POLLOUT))
	{
		int error = 0;
		socklen_t length = sizeof(error);
		connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
	}
	size_t sent = 0;
	while (connected && sent < request.size() && waitFor(POLLOUT))
	{
		ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
		if (n < 0 && errno != EINTR && errno != EAGAIN)
			connected = false;
		else if (n > 0)
			sent += size_t(n);
	}
	char buffer[4096];
	while (connected && sent == request.size() && waitFor(POLLIN))
	{
		ssize_t n = recv(fd, buffer, sizeof(buffer), 0);
		if (n > 0)
			answer.append(buffer, size_t(n));
		else if (n == 0 || (errno != EINTR && errno != EAGAIN))
			break;
	}
	close(fd);
	return answer;
}
} // namespace

RealVlc::RealVlc(std::string password) : m_password(std::move(password))
{
	char folder[] = "/tmp/quelt-vlc-XXXXXX";
	if (mkdtemp(folder))
		m_dir = folder;
	m_webPort = freePort();
	m_streamPort = freePort();
	// Two calls in a row may hand out the same port once the first is closed.
	while (m_streamPort == m_webPort && m_webPort != 0)
		m_streamPort = freePort();
}

RealVlc::~RealVlc()
{
	stop();
	if (!m_dir.empty())
	{
		std::error_code ignored;
		fs::remove_all(m_dir, ignored);
	}
}

bool RealVlc::installed()
{
	return !findProgram("cvlc").empty();
}

void RealVlc::allowAccess(const std::string &folder)
{
	if (geteuid() != 0)
		return;
	fs::path at = fs::absolute(folder);
	mode_t extra = S_IROTH | S_IXOTH;
	for (;;)
	{
		struct stat st;
		if (stat(at.c_str(), &st) == 0 && (st.st_mode & extra) != extra)
			chmod(at.c_str(), (st.st_mode & 07777) | extra);
		if (at == at.root_path() || !at.has_parent_path())
			break;
		at = at.parent_path();
		// Above the folder itself passing through is enough.
		extra = S_IXOTH;
	}
}

bool RealVlc::start(std::string &error)
{
	if (running())
		return true;
	std::string cvlc = findProgram("cvlc");
	if (cvlc.empty())
	{
		error = "cvlc is not installed";
		return false;
	}
	if (m_dir.empty() || m_webPort == 0 || m_streamPort == 0)
	{
		error = "no folder or no free port for VLC";
		return false;
	}
	std::string home = m_dir + "/home";
	mkdir(home.c_str(), 0700);

	std::vector<std::string> argv;
	if (geteuid() == 0)
	{
		// VLC will not run as root; its user needs its home and a way into it.
		std::string setpriv = findProgram("setpriv");
		if (setpriv.empty())
		{
			error = "running as root, and setpriv is not installed";
			return false;
		}
		if (passwd *nobody = getpwnam("nobody"))
		{
			if (chown(home.c_str(), nobody->pw_uid, nobody->pw_gid) != 0)
				chmod(home.c_str(), 0777);
		}
		chmod(m_dir.c_str(), 0711);
		argv = {setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
	}
	std::vector<std::string> vlcArgs = {cvlc, "-I", "http", "--http-host", "127.0.0.1", "--http-port",
		std::to_string(m_webPort), "--http-password", m_password, "--no-video-title-show", "--aout", "adummy",
		"--vout", "vdummy", "--no-interact", "--ignore-config", "--no-metadata-network-access"};
	argv.insert(argv.end(), vlcArgs.begin(), vlcArgs.end());
	// A small environment of its own: no display, no session bus, and every
	// place VLC might write to inside its home.
	std::vector<std::string> env = {"HOME=" + home, "PATH=/usr/local/bin:/usr/bin:/bin",
		"XDG_CONFIG_HOME=" + home + "/.config", "XDG_CACHE_HOME=" + home + "/.cache",
		"XDG_DATA_HOME=" + home + "/.local/share", "LANG=C.UTF-8"};

	std::string logFile = m_dir + "/vlc.log";
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
	posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
	posix_spawn_file_actions_adddup2(&actions, 1, 2);
	// Its own process group, so a terminal's Ctrl-C reaches the test, which then
	// stops VLC in order.
	posix_spawnattr_t attributes;
	posix_spawnattr_init(&attributes);
	posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
	posix_spawnattr_setpgroup(&attributes, 0);

	std::vector<char *> args, envp;
	for (auto &a : argv)
		args.push_back(a.data());
	args.push_back(nullptr);
	for (auto &e : env)
		envp.push_back(e.data());
	envp.push_back(nullptr);
	pid_t pid = -1;
	int rc = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), envp.data());
	posix_spawn_file_actions_destroy(&actions);
	posix_spawnattr_destroy(&attributes);
	if (rc != 0)
	{
		error = "cannot start " + argv[0] + ": " + strerror(rc);
		return false;
	}
	m_pid = pid;
	if (!waitUntilAnswering(error))
	{
		stop();
		error += "\nVLC's log:\n" + log();
		return false;
	}
	return true;
}

bool RealVlc::waitUntilAnswering(std::string &error)
{
	long long deadline = nowMs() + startSeconds * 1000LL;
	while (nowMs() < deadline)
	{
		int status = 0;
		if (waitpid(m_pid, &status, WNOHANG) == m_pid)
		{
			m_pid = -1;
			error = "VLC ended before its web interface answered";
			return false;
		}
		if (exchange(m_webPort, "GET /requests/status.xml HTTP/1.0\r\n\r\n").compare(0, 5, "HTTP/") == 0)
			return true;
		sleepMs(100);
	}
	error = "VLC's web interface did not answer within " + std::to_string(startSeconds) + " seconds";
	return false;
}

void RealVlc::stop()
{
	if (m_pid <= 0)
		return;
	kill(m_pid, SIGTERM);
	long long deadline = nowMs() + stopMs;
	int status = 0;
	pid_t ended = 0;
	while ((ended = waitpid(m_pid, &status, WNOHANG)) == 0 && nowMs() < deadline)
		sleepMs(20);
	if (ended == 0)
	{
		kill(m_pid, SIGKILL);
		while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR)
		{
		}
	}
	m_pid = -1;
}

bool RealVlc::restart(std::string &error)
{
	stop();
	return start(error);
}

std::string RealVlc::get(const std::string &target) const
{
	return exchange(m_webPort, "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: Basic " +
								   base64(":" + m_password) + "\r\n\r\n");
}

std::string RealVlc::log() const
{
	std::ifstream in(m_dir + "/vlc.log", std::ios::binary);
	std::stringstream s;
	s << in.rdbuf();
	return s.str();
}
