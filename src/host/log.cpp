#include "host/log.h"

#include <cstdarg>
#include <mutex>
#include <string>

#include "host/estring.h"

namespace
{
std::mutex logMutex;
FILE *logFile = nullptr; // -- protected by logMutex, as are the two below
hostlog::Sink sink = nullptr;
void *sinkUser = nullptr;

void writeLine(const char *prefix, const char *fmt, va_list ap)
{
	eString line(prefix);
	eString text;
	text.vsprintf(fmt, ap);
	line += text;
	if (line.empty() || line.back() != '\n')
		line += '\n';
	std::lock_guard<std::mutex> lock(logMutex);
	FILE *out = logFile ? logFile : stderr;
	fwrite(line.data(), 1, line.size(), out);
	fflush(out);
	if (sink)
		sink(line.c_str(), sinkUser);
}
} // namespace

void eDebug(const char *fmt, ...)
{
	va_list ap;
	va_start(ap, fmt);
	writeLine("", fmt, ap);
	va_end(ap);
}

void eWarning(const char *fmt, ...)
{
	va_list ap;
	va_start(ap, fmt);
	writeLine("[warning] ", fmt, ap);
	va_end(ap);
}

namespace hostlog
{
bool setLogFile(const char *path)
{
	std::lock_guard<std::mutex> lock(logMutex);
	if (logFile)
		fclose(logFile);
	logFile = nullptr;
	if (!path || !*path)
		return true;
	logFile = fopen(path, "a");
	return logFile != nullptr;
}

void setSink(Sink s, void *user)
{
	std::lock_guard<std::mutex> lock(logMutex);
	sink = s;
	sinkUser = user;
}
} // namespace hostlog
