#ifndef E2E_ENDTOEND_H
#define E2E_ENDTOEND_H

// The plug-in as a person runs it: the real quelt-box with the plug-in from the
// staged box root, a key script, and a VLC that serves the sample media folder
// (scripts/sample-media). The VLC is either Debian's VLC 3 or the double of the
// classic web interface; the same key scripts run against both. Everything runs
// on the real clock, so the waits of the scripts leave generous room.

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/boxrun.h"
#include "support/realvlc.h"
#include "support/vlcdouble.h"

enum class Backend
{
	vlc3,
	classicDouble,
};

std::string backendName(const ::testing::TestParamInfo<Backend> &info);

// What VLC's status said at one moment.
struct StatusSample
{
	std::string state; // "playing", "paused", "stopped"
	std::string file;  // the input's file name, empty when there is none
	int time = 0;      // seconds into the input
};

// Asks a real VLC for its status every few hundred milliseconds on a thread of
// its own and keeps what it said, so a test can see what the plug-in's
// requests did to VLC.
class StatusWatch
{
public:
	explicit StatusWatch(const RealVlc &vlc);
	~StatusWatch();
	StatusWatch(const StatusWatch &) = delete;
	StatusWatch &operator=(const StatusWatch &) = delete;

	std::vector<StatusSample> samples() const;
	// Waits until a sample satisfies wanted, at most timeoutMs; true when one did.
	bool waitFor(const std::function<bool(const StatusSample &)> &wanted, int timeoutMs) const;

	static StatusSample parse(const std::string &answer);

private:
	void run();

	const RealVlc &m_vlc;
	mutable std::mutex m_mutex;
	mutable std::condition_variable m_changed;
	bool m_stop = false;                 // -- protected by m_mutex
	std::vector<StatusSample> m_samples; // -- protected by m_mutex
	std::thread m_thread;
};

class EndToEnd : public ::testing::TestWithParam<Backend>
{
public:
	static void SetUpTestSuite();
	static void TearDownTestSuite();

protected:
	void SetUp() override;
	void TearDown() override;

	bool realVlc() const { return GetParam() == Backend::vlc3; }
	// The media folder, and its subfolder with the files that make trouble.
	static std::filesystem::path media();
	// The settings file for the running VLC, with this start folder and the
	// password the plug-in is to send.
	void writeSettings(const std::filesystem::path &startdir, const std::string &password);
	void write(const std::string &relative, const std::string &text);
	// Runs the box with the key script, at most timeoutSeconds.
	ProcessResult runBox(const std::string &script, int timeoutSeconds = 240);
	std::string snapshot(const std::string &name) const;
	// Waits until the box has written the snapshot, at most timeoutMs: how a
	// test thread learns that the key script has reached a point.
	bool waitForSnapshot(const std::string &name, int timeoutMs) const;

	// Starts watching the real VLC's status; with the double it does nothing.
	void watchVlc();
	// The files VLC was asked to play (the double) or was seen playing (VLC 3),
	// in order, each once in a row.
	std::vector<std::string> playedFiles() const;

	// The web requests the double received, each shortened to its command, or
	// to "browse"; an in_play keeps its input, without the stream output.
	std::vector<std::string> doubleSteps() const;

	std::filesystem::path m_box, m_dir;
	std::string m_clip; // the recorded stream the double serves
	std::unique_ptr<RealVlc> m_vlc;
	std::unique_ptr<VlcDouble> m_double;
	std::unique_ptr<StatusWatch> m_watch;

private:
	static std::filesystem::path s_suiteDir;
	static std::string s_mediaError;
};

// Whether wanted appears in steps in this order, other steps in between.
bool inOrder(const std::vector<std::string> &steps, const std::vector<std::string> &wanted);
// The decoder's counts from the box's last words.
unsigned long long decodedVideoFrames(const std::string &output);
unsigned long long decodedAudioFrames(const std::string &output);

#endif
