#ifndef HOST_LOG_H
#define HOST_LOG_H

#include <cstdio>

// The platform's debug log. Lines go to standard error unless a log file is set;
// each call writes one line (a newline is added when the text lacks one).
void eDebug(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void eWarning(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

namespace hostlog
{
// Sends the log to this file from now on (appending); null or empty: standard error.
bool setLogFile(const char *path);
// Observers see every line as written (tests read the log this way); one at a time.
using Sink = void (*)(const char *line, void *user);
void setSink(Sink sink, void *user);
}

#endif
