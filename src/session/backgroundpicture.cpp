#include "session/backgroundpicture.h"

#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "host/log.h"
#include "host/mainloop.h"
#include "host/paths.h"

extern char **environ;

namespace
{
// Tools that ended, or may end, without a loop to notice it; collected at the
// next start of the tool.
std::vector<pid_t> &uncollected()
{
	static std::vector<pid_t> pids;
	return pids;
}

void collectEnded()
{
	std::vector<pid_t> &pids = uncollected();
	for (auto it = pids.begin(); it != pids.end();)
	{
		pid_t done = waitpid(*it, nullptr, WNOHANG);
		if (done == *it || (done < 0 && errno != EINTR))
			it = pids.erase(it);
		else
			++it;
	}
}

// The tool may talk to the receiver's GUI, which runs on this very thread, so
// the GUI must not wait for it: the loop collects it when its process descriptor
// says it has ended.
void collectWhenEnded(pid_t pid)
{
	int fd = -1;
#ifdef SYS_pidfd_open
	fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#endif
	if (fd < 0 || !eApp)
	{
		if (fd >= 0)
			close(fd);
		uncollected().push_back(pid);
		return;
	}
	eMainloop *loop = eApp;
	auto watch = std::make_shared<eMainloop::WatchId>(0);
	*watch = loop->addWatch(fd, POLLIN, [loop, watch, pid](int descriptor, short) {
		while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR)
		{
		}
		loop->removeWatch(*watch);
		close(descriptor);
	});
}
} // namespace

namespace backgroundpicture
{
void show()
{
	collectEnded();
	eString file = hostPath(picture);
	if (access(file.c_str(), F_OK) != 0)
		return;
	// The tool runs on the host's file system, so it gets the picture's place there.
	eString program = hostPath(tool);
	std::vector<char *> argv = {program.data(), file.data(), nullptr};
	pid_t pid = 0;
	int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
	if (error != 0)
	{
		eDebug("[quelt]: cannot run %s: %s", tool, strerror(error));
		return;
	}
	collectWhenEnded(pid);
}
} // namespace backgroundpicture
