#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char **environ;

namespace
{
long long nowMs()
{
	timespec ts;
	clock_gettime(CLOCK_MONOTONIC, &ts);
	return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}
} // namespace

ProcessResult runProcess(const std::vector<std::string> &argv, int timeoutSeconds, const std::vector<std::string> &extraEnvironment)
{
	ProcessResult result;
	int pipeFds[2];
	if (pipe2(pipeFds, O_CLOEXEC) != 0)
	{
		result.output = "pipe failed";
		return result;
	}
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
	posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
	posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

	std::vector<char *> args;
	for (const auto &a : argv)
		args.push_back(const_cast<char *>(a.c_str()));
	args.push_back(nullptr);
	// The extra variables replace inherited ones of the same name.
	std::vector<std::string> envStrings;
	auto nameOf = [](const std::string &e) { return e.substr(0, e.find('=')); };
	for (char **e = environ; *e; ++e)
	{
		std::string inherited = *e;
		bool replaced = false;
		for (const auto &x : extraEnvironment)
			replaced = replaced || nameOf(x) == nameOf(inherited);
		if (!replaced)
			envStrings.push_back(inherited);
	}
	for (const auto &e : extraEnvironment)
		envStrings.push_back(e);
	std::vector<char *> env;
	for (auto &e : envStrings)
		env.push_back(e.data());
	env.push_back(nullptr);

	pid_t pid;
	int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
	posix_spawn_file_actions_destroy(&actions);
	close(pipeFds[1]);
	if (rc != 0)
	{
		close(pipeFds[0]);
		result.output = std::string("cannot start ") + argv[0] + ": " + strerror(rc);
		return result;
	}

	long long deadline = nowMs() + timeoutSeconds * 1000LL;
	char buf[4096];
	for (;;)
	{
		long long left = deadline - nowMs();
		if (left <= 0)
		{
			result.timedOut = true;
			kill(pid, SIGKILL);
			break;
		}
		pollfd p = {pipeFds[0], POLLIN, 0};
		int n = poll(&p, 1, static_cast<int>(left));
		if (n < 0 && errno == EINTR)
			continue;
		if (n <= 0)
			continue;
		ssize_t got = read(pipeFds[0], buf, sizeof(buf));
		if (got < 0 && errno == EINTR)
			continue;
		if (got <= 0)
			break;
		result.output.append(buf, static_cast<size_t>(got));
	}
	close(pipeFds[0]);
	int status = 0;
	while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
	{
	}
	if (!result.timedOut && WIFEXITED(status))
		result.exitStatus = WEXITSTATUS(status);
	return result;
}
