#include "box/stillpicturereceiver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "box/stillpicture.h"
#include "host/log.h"

namespace
{
// A writer that sends nothing for this long has gone astray; the next one may come.
constexpr int stallMs = 5000;
} // namespace

StillPictureReceiver::StillPictureReceiver() = default;

StillPictureReceiver::~StillPictureReceiver()
{
	stop();
}

bool StillPictureReceiver::start(const std::string &path, Delivery delivery)
{
	stop();
	sockaddr_un address{};
	if (path.size() >= sizeof(address.sun_path))
	{
		m_error = "the still-picture socket path is too long: " + path;
		return false;
	}
	std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
	address.sun_family = AF_UNIX;

	struct stat st;
	if (lstat(path.c_str(), &st) == 0)
	{
		// A socket left by an earlier box, or a file where the device belongs.
		if (!S_ISSOCK(st.st_mode))
			eWarning("[box] replacing %s with the still-picture socket", path.c_str());
		unlink(path.c_str());
	}
	if (!m_stop.open())
	{
		m_error = std::string("cannot make a wake-up descriptor: ") + std::strerror(errno);
		return false;
	}
	m_listen = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
	if (m_listen < 0 || bind(m_listen, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
		listen(m_listen, 4) != 0)
	{
		m_error = "cannot listen at " + path + ": " + std::strerror(errno);
		if (m_listen >= 0)
			close(m_listen);
		m_listen = -1;
		m_stop.close();
		return false;
	}
	m_path = path;
	m_delivery = std::move(delivery);
	m_thread = std::thread([this] { run(); });
	return true;
}

void StillPictureReceiver::stop()
{
	if (m_thread.joinable())
	{
		m_stop.notify();
		m_thread.join();
	}
	if (m_listen >= 0)
	{
		close(m_listen);
		m_listen = -1;
		unlink(m_path.c_str());
	}
	m_stop.close();
}

void StillPictureReceiver::run()
{
	for (;;)
	{
		pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_stop.fd(), POLLIN, 0}};
		if (poll(fds, 2, -1) < 0)
		{
			if (errno == EINTR)
				continue;
			eWarning("[box] still picture: poll failed: %s", std::strerror(errno));
			return;
		}
		if (fds[1].revents)
			return;
		int connection = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
		if (connection < 0)
			continue;
		serve(connection);
		close(connection);
	}
}

void StillPictureReceiver::serve(int connection)
{
	std::string data;
	if (!readAll(connection, data))
		return;
	DecodedPicture picture;
	std::string error;
	bool ok = StillPicture::decode(reinterpret_cast<const uint8_t *>(data.data()), data.size(), picture, error);
	if (ok)
		eDebug("[box] still picture %dx%d shown", picture.width, picture.height);
	else
		eWarning("[box] still picture not shown: %s", error.c_str());
	char answer = ok ? '0' : '1';
	// The tool waits for the answer; one that has gone away does not matter.
	(void)!send(connection, &answer, 1, MSG_NOSIGNAL);
	if (ok)
		m_delivery(std::move(picture));
}

bool StillPictureReceiver::readAll(int connection, std::string &data)
{
	char buffer[65536];
	for (;;)
	{
		ssize_t n = read(connection, buffer, sizeof(buffer));
		if (n > 0)
		{
			if (data.size() + size_t(n) > StillPicture::maxBytes)
			{
				eWarning("[box] still picture: more than %zu bytes; not a still picture", StillPicture::maxBytes);
				return false;
			}
			data.append(buffer, size_t(n));
			continue;
		}
		if (n == 0)
			return true;
		if (errno == EINTR)
			continue;
		if (errno != EAGAIN && errno != EWOULDBLOCK)
			return false;
		pollfd fds[2] = {{connection, POLLIN, 0}, {m_stop.fd(), POLLIN, 0}};
		int ready = poll(fds, 2, stallMs);
		if (ready < 0 && errno != EINTR)
			return false;
		if (ready == 0)
		{
			eWarning("[box] still picture: the writer stalled; dropped");
			return false;
		}
		if (fds[1].revents)
			return false;
	}
}
