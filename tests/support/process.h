#ifndef SUPPORT_PROCESS_H
#define SUPPORT_PROCESS_H

#include <string>
#include <vector>

// Runs a program (no shell) to its end and collects what it wrote to standard
// output and standard error together. A program that runs past timeoutSeconds is
// killed, and the result says so, so a hang fails a test instead of blocking it.
struct ProcessResult
{
	int exitStatus = -1; // the exit status, or -1 when it did not exit normally
	bool timedOut = false;
	std::string output;
};

ProcessResult runProcess(const std::vector<std::string> &argv, int timeoutSeconds,
                         const std::vector<std::string> &extraEnvironment = {});

#endif
