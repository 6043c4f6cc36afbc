#ifndef SUPPORT_REALVLC_H
#define SUPPORT_REALVLC_H

#include <sys/types.h>

#include <string>

// Debian's VLC 3 with its web interface on loopback, as a person runs it for
// the plug-in: "cvlc -I http" with a password, no window, no sound device, no
// configuration file of its own. VLC refuses to run as root; under root it runs
// as the user "nobody", so the folders it is to list must be open to others
// (allowAccess).
//
// The web interface and the stream output get free ports of their own, kept
// across restart(). What VLC writes to its standard output and error goes to a
// log file, which log() returns for failure messages.
class RealVlc
{
public:
	explicit RealVlc(std::string password = "quelt");
	~RealVlc();
	RealVlc(const RealVlc &) = delete;
	RealVlc &operator=(const RealVlc &) = delete;

	// Whether cvlc is installed at all; without it the tests that need VLC skip.
	static bool installed();
	// Lets VLC's user read a folder and pass through every folder above it:
	// folders made by mkdtemp are closed to others.
	static void allowAccess(const std::string &folder);

	// Starts VLC and waits (at most 20 seconds) until its web interface answers;
	// an answer that asks for a password counts. False, with the reason in
	// error, when it does not come up.
	bool start(std::string &error);
	// Ends VLC: a polite request first, then, after a bound, a kill. Does
	// nothing when VLC is not running.
	void stop();
	// Stops and starts again on the same ports.
	bool restart(std::string &error);
	bool running() const { return m_pid > 0; }

	int webPort() const { return m_webPort; }
	int streamPort() const { return m_streamPort; }
	const std::string &password() const { return m_password; }

	// One GET of the web interface with the credentials, e.g.
	// "/requests/status.xml"; the whole answer, head and body, or empty when
	// the connection fails. Bounded to a few seconds.
	std::string get(const std::string &target) const;

	// What VLC has written so far.
	std::string log() const;

private:
	bool waitUntilAnswering(std::string &error);

	std::string m_password;
	std::string m_dir; // VLC's home, and the log file beside it
	int m_webPort = 0;
	int m_streamPort = 0;
	pid_t m_pid = -1;
};

#endif
