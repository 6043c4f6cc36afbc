// What a real VLC does wrong, and what the plug-in makes of it: a VLC that
// goes away in the middle of a stream and comes back, a file VLC cannot play,
// a folder VLC may not read.

#include <algorithm>
#include <thread>

#include "e2e/endtoend.h"

namespace
{
const char *const errorText = "An Error occured while trying to send commands, or receiving the Stream. Please "
							  "ensure that VLC is started on the PC, and that VLC can play the chosen File.";

class RealVlcTrouble : public EndToEnd
{
};

TEST_P(RealVlcTrouble, VlcGoesAwayInTheMiddleOfAStreamAndComesBack)
{
	watchVlc();
	ProcessResult r;
	std::thread box([&] {
		r = runBox("wait 2500\n"
				   "down\n"
				   "ok            # into Long\n"
				   "wait 2500\n"
				   "down\n"
				   "ok            # lecture1.avi plays until VLC goes away\n"
				   "wait 25000    # its stream ends; lecture2.avi comes from VLC, new\n"
				   "exit          # stops it\n"
				   "wait 2000\n"
				   "red           # the file list again\n"
				   "wait 2500\n"
				   "snapshot again\n"
				   "quit\n");
	});
	bool streaming =
		m_watch->waitFor([](const StatusSample &s) { return s.file == "lecture1.avi" && s.time >= 8; }, 90000);
	m_vlc->stop();
	size_t before = m_watch->samples().size();
	std::string error;
	bool restarted = m_vlc->start(error);
	box.join();
	ASSERT_TRUE(streaming) << r.output;
	ASSERT_TRUE(restarted) << error;
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(0, r.exitStatus) << r.output;

	// The plug-in took the cut as the end of the file and went on with the next
	// one, which the new VLC played; then it listed the folder again.
	EXPECT_NE(r.output.find("[quelt]: end of stream"), std::string::npos) << r.output;
	std::vector<StatusSample> samples = m_watch->samples();
	EXPECT_TRUE(std::any_of(samples.begin() + std::min(before, samples.size()), samples.end(),
		[](const StatusSample &s) { return s.file == "lecture2.avi" && s.state == "playing"; }))
		<< r.output;
	std::string again = snapshot("again");
	EXPECT_NE(again.find("text=\"File: " + (media() / "Long").string() + "\""), std::string::npos) << again;
	for (const char *name : {"lecture1.avi", "lecture2.avi"})
		EXPECT_NE(again.find(std::string("\"") + name + "\""), std::string::npos) << name << " in\n" << again;
	EXPECT_GT(decodedVideoFrames(r.output), 100u) << r.output;
}

TEST_P(RealVlcTrouble, AFolderVlcCannotReadAndAFileItCannotPlay)
{
	writeSettings(media() / "Trouble", "quelt-e2e");
	ProcessResult r = runBox("wait 2500\n"
							 "down\n"
							 "ok            # Locked\n"
							 "wait 2500\n"
							 "snapshot locked\n"
							 "down\n"
							 "down\n"
							 "ok            # broken.avi\n"
							 "wait 2000\n"
							 "snapshot broken\n"
							 "ok            # closes the error message\n"
							 "wait 2000\n"
							 "snapshot after\n"
							 "quit\n");
	ASSERT_FALSE(r.timedOut) << r.output;
	EXPECT_EQ(0, r.exitStatus) << r.output;

	// VLC answers the listing of the locked folder with an error page: the
	// plug-in lists its start folder again.
	std::string locked = snapshot("locked");
	EXPECT_NE(locked.find("text=\"" + (media() / "Trouble").string() + "\""), std::string::npos) << locked;
	for (const char *name : {"Locked", "broken.avi"})
		EXPECT_NE(locked.find(std::string("\"") + name + "\""), std::string::npos) << name << " in\n" << locked;

	// VLC cannot make a stream of the broken file: the start fails, the
	// plug-in says so, and its list is back after OK.
	std::string broken = snapshot("broken");
	EXPECT_NE(broken.find(errorText), std::string::npos) << broken;
	std::string after = snapshot("after");
	EXPECT_EQ(std::string::npos, after.find("messagebox")) << after;
	EXPECT_NE(after.find("\"broken.avi\""), std::string::npos) << after;
	EXPECT_EQ(0u, decodedVideoFrames(r.output));
}

INSTANTIATE_TEST_SUITE_P(Backends, RealVlcTrouble, ::testing::Values(Backend::vlc3), backendName);
} // namespace
