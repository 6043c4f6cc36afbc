// The engine and the box's decoder together: a real transport stream from the
// VLC double, through reception and feeder, into the decoder behind /dev/pvr.

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "box/boxdecoder.h"
#include "engine/enginefixture.h"
#include "host/decoder.h"

extern char **environ;

namespace
{
// Three seconds of MPEG-2 video and MPEG audio on PIDs 100 and 101, as VLC's
// transcoder sends them; empty when ffmpeg cannot make it.
eString encodeStream(const std::string &file)
{
	std::vector<std::string> args = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
		"testsrc=size=352x288:rate=25", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", "3",
		"-c:v", "mpeg2video", "-b:v", "2M", "-c:a", "mp2", "-f", "mpegts", "-mpegts_start_pid", "100", "-muxrate",
		"4000000", file};
	std::vector<char *> argv;
	for (std::string &a : args)
		argv.push_back(a.data());
	argv.push_back(nullptr);
	pid_t pid = 0;
	if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0)
		return eString();
	int status = 0;
	while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
	{
	}
	if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
		return eString();
	std::ifstream in(file, std::ios::binary);
	return eString(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

using BoxPlaybackTest = EngineFixture;

TEST_F(BoxPlaybackTest, TheDecoderPlaysTheStreamTheEngineFound)
{
	eString stream = encodeStream(std::string(host.root().c_str()) + "/stream.ts");
	if (stream.empty())
		GTEST_SKIP() << "ffmpeg cannot make the stream";
	EngineTimings timings = testTimings();
	// Time for the decoder to take the rest before the end of the stream flushes it.
	timings.playOutMs = 1000;
	setEngineTimings(timings);

	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start()) << decoder.error();
	Decoder::setBackend(&decoder);
	vlc.setStreamData(stream);

	engine->control("start2", "Movie%2eavi", 0);
	EXPECT_EQ(engine->status.load(), STATUS_STARTED);
	EXPECT_EQ(decoder.parameters().vpid, 100);
	EXPECT_EQ(decoder.parameters().apid, 101);
	EXPECT_EQ(decoder.parameters().audio_type, 0);

	EXPECT_TRUE(waitForStatus(STATUS_IDLE));
	killThreads_stream();
	EXPECT_GT(decoder.videoFrames(), 0u);
	EXPECT_GT(decoder.audioFrames(), 0u);
	// Everything but the bytes dropped with the answer head reached the decoder.
	EXPECT_GE(decoder.bytesRead() + 511, stream.size());

	Decoder::setBackend(nullptr);
	decoder.stop();
}
} // namespace
