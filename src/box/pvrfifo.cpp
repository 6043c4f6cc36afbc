#include "box/pvrfifo.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "host/log.h"

namespace
{
std::string errorText(const std::string &what, const std::string &path)
{
	return what + " " + path + ": " + strerror(errno);
}

bool makeFolderOf(const std::string &path)
{
	size_t slash = path.rfind('/');
	if (slash == std::string::npos || slash == 0)
		return true;
	std::string folder = path.substr(0, slash);
	return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}
} // namespace

PvrFifo::~PvrFifo()
{
	close();
}

bool PvrFifo::open(const std::string &path)
{
	close();
	m_error.clear();
	if (!makeFolderOf(path))
	{
		m_error = errorText("cannot make the folder of", path);
		return false;
	}

	struct stat st{};
	if (stat(path.c_str(), &st) == 0)
	{
		if (S_ISREG(st.st_mode))
		{
			// A file left by a run without the box's decoder would swallow the
			// stream and never push back on the writer.
			eWarning("[box] %s is a regular file; replacing it with a FIFO", path.c_str());
			if (unlink(path.c_str()) != 0)
			{
				m_error = errorText("cannot remove", path);
				return false;
			}
		}
		else if (!S_ISFIFO(st.st_mode))
		{
			m_error = path + " exists and is neither a FIFO nor a regular file";
			return false;
		}
	}
	if (stat(path.c_str(), &st) != 0)
	{
		if (mkfifo(path.c_str(), 0666) != 0)
		{
			m_error = errorText("cannot make the FIFO", path);
			return false;
		}
		// The umask must not keep the feeder, which may run as another user, out.
		chmod(path.c_str(), 0666);
	}

	m_readFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
	if (m_readFd < 0)
	{
		m_error = errorText("cannot open for reading", path);
		return false;
	}
	m_writeFd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
	if (m_writeFd < 0)
	{
		m_error = errorText("cannot open for writing", path);
		close();
		return false;
	}
	return true;
}

void PvrFifo::close()
{
	if (m_writeFd >= 0)
		::close(m_writeFd);
	if (m_readFd >= 0)
		::close(m_readFd);
	m_writeFd = m_readFd = -1;
}

ssize_t PvrFifo::readSome(uint8_t *buffer, size_t size)
{
	for (;;)
	{
		ssize_t n = ::read(m_readFd, buffer, size);
		if (n >= 0)
			return n;
		if (errno == EINTR)
			continue;
		return errno == EAGAIN ? 0 : -1;
	}
}

size_t PvrFifo::drain()
{
	int capacity = fcntl(m_readFd, F_GETPIPE_SZ);
	size_t limit = capacity > 0 ? size_t(capacity) : 65536;
	uint8_t buffer[16384];
	size_t dropped = 0;
	while (dropped < limit)
	{
		ssize_t n = readSome(buffer, std::min(sizeof buffer, limit - dropped));
		if (n <= 0)
			break;
		dropped += size_t(n);
	}
	return dropped;
}

size_t PvrFifo::pending() const
{
	int n = 0;
	if (m_readFd < 0 || ioctl(m_readFd, FIONREAD, &n) != 0 || n < 0)
		return 0;
	return size_t(n);
}
