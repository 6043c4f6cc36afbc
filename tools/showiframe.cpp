// showiframe: the receiver's still-picture tool, for the box.
//   showiframe FILE
// Hands the still picture in FILE (an MPEG video I-frame, ".mvi") to the box that
// runs on this box root, as the receiver's tool writes it into the video device.
// The box root is where this program lies: ROOT/var/bin/showiframe. A FILE that
// is not found as given is looked for as a receiver path under the root.
// Exit status: 0 the box shows the picture, 1 the file holds no picture, 2 the
// file or the box could not be reached.

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// The box takes no more than this; a larger file is not a still picture.
constexpr size_t maxBytes = size_t(8) << 20;
// The box answers once it has decoded the picture, which takes milliseconds.
constexpr int answerTimeoutMs = 10000;

int fail(const std::string &message)
{
	std::fprintf(stderr, "showiframe: %s\n", message.c_str());
	return 2;
}

std::string boxRoot()
{
	char exe[PATH_MAX];
	ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
	if (n <= 0)
		return std::string();
	std::string path(exe, size_t(n));
	// ROOT/var/bin/showiframe: three steps up.
	for (int i = 0; i < 3; ++i)
	{
		size_t slash = path.rfind('/');
		if (slash == std::string::npos)
			return std::string();
		path.erase(slash);
	}
	return path.empty() ? std::string("/") : path;
}

bool readFile(const std::string &path, std::vector<char> &data)
{
	FILE *f = std::fopen(path.c_str(), "rb");
	if (!f)
		return false;
	char buffer[65536];
	size_t n;
	while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0 && data.size() <= maxBytes)
		data.insert(data.end(), buffer, buffer + n);
	bool ok = !std::ferror(f);
	std::fclose(f);
	return ok;
}

bool sendAll(int fd, const std::vector<char> &data)
{
	size_t sent = 0;
	while (sent < data.size())
	{
		ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			return false;
		sent += size_t(n);
	}
	return true;
}
} // namespace

int main(int argc, char **argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: showiframe FILE\n");
		return 2;
	}
	std::string root = boxRoot();
	if (root.empty())
		return fail("cannot tell where the box root is");

	std::string file = argv[1];
	std::vector<char> data;
	if (!readFile(file, data) && !(file[0] == '/' && readFile(root + file, data)))
		return fail("cannot read " + file + ": " + std::strerror(errno));
	if (data.size() > maxBytes)
		return fail(file + " is too large for a still picture");

	std::string device = root + "/dev/video";
	sockaddr_un address{};
	if (device.size() >= sizeof(address.sun_path))
		return fail("the box root's path is too long for its video device: " + device);
	address.sun_family = AF_UNIX;
	std::memcpy(address.sun_path, device.c_str(), device.size() + 1);
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fd < 0 || connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
		return fail("no box is running on " + root + " (" + device + ": " + std::strerror(errno) + ")");
	if (!sendAll(fd, data) || shutdown(fd, SHUT_WR) != 0)
	{
		close(fd);
		return fail(std::string("the box broke off: ") + std::strerror(errno));
	}
	pollfd answerReady = {fd, POLLIN, 0};
	char answer = 0;
	int ready;
	while ((ready = poll(&answerReady, 1, answerTimeoutMs)) < 0 && errno == EINTR)
	{
	}
	bool answered = ready > 0 && read(fd, &answer, 1) == 1;
	close(fd);
	if (!answered)
		return fail("the box did not answer");
	if (answer != '0')
	{
		std::fprintf(stderr, "showiframe: %s holds no still picture the box can show\n", file.c_str());
		return 1;
	}
	return 0;
}
