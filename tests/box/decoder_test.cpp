#include <gtest/gtest.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "box/boxdecoder.h"
#include "host/decoder.h"
#include "host/log.h"
#include "host/paths.h"

extern char **environ;

namespace
{
using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

// Generous: the waits end as soon as the decoder is done; this only turns a hang
// into a failure.
constexpr auto patience = 60s;

constexpr int videoPid = 0x64;
constexpr int audioPid = 0xC8;

Bytes readFile(const std::string &path)
{
	std::ifstream f(path, std::ios::binary);
	return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A real VLC 3 transcode: MPEG-2 video on PID 0x64, MPEG audio on PID 0xC8.
const Bytes &vlcStream()
{
	static const Bytes bytes = [] {
		const char *source = getenv("QUELT_SOURCE_DIR");
		return readFile(std::string(source ? source : ".") + "/tests/fixtures/stream-mpeg2-mpga.ts");
	}();
	return bytes;
}

decoderParameters pids(int vpid, int apid, int audioType = 0)
{
	decoderParameters p;
	p.vpid = vpid;
	p.apid = apid;
	p.audio_type = audioType;
	return p;
}

// Aborts the test binary when a test outlives its limit, so no test can hang.
class Watchdog
{
public:
	explicit Watchdog(std::chrono::seconds limit)
	{
		m_thread = std::thread([this, limit] {
			std::unique_lock<std::mutex> lock(m_mutex);
			if (!m_cv.wait_for(lock, limit, [this] { return m_done; }))
			{
				fprintf(stderr, "watchdog: the test hung\n");
				std::abort();
			}
		});
	}
	~Watchdog()
	{
		{
			std::lock_guard<std::mutex> lock(m_mutex);
			m_done = true;
		}
		m_cv.notify_all();
		m_thread.join();
	}

private:
	std::mutex m_mutex;
	std::condition_variable m_cv;
	bool m_done = false;
	std::thread m_thread;
};

// The plug-in's side of /dev/pvr, without blocking: a full FIFO shows as EAGAIN.
class FifoWriter
{
public:
	explicit FifoWriter(const std::string &path) : m_fd(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) {}
	~FifoWriter() { close(); }
	bool isOpen() const { return m_fd >= 0; }
	void close()
	{
		if (m_fd >= 0)
			::close(m_fd);
		m_fd = -1;
	}

	// Writes until the FIFO is full; returns the bytes written.
	size_t writeUntilFull(const uint8_t *data, size_t size)
	{
		size_t done = 0;
		while (done < size)
		{
			ssize_t n = write(m_fd, data + done, size - done);
			if (n <= 0)
			{
				lastError = errno;
				break;
			}
			done += size_t(n);
		}
		return done;
	}

	// Writes everything, waiting for room whenever the FIFO is full.
	bool writeAll(const uint8_t *data, size_t size)
	{
		size_t done = 0;
		while (done < size)
		{
			ssize_t n = write(m_fd, data + done, size - done);
			if (n > 0)
			{
				done += size_t(n);
				continue;
			}
			if (n < 0 && errno != EAGAIN)
				return false;
			++fullCount;
			pollfd p{m_fd, POLLOUT, 0};
			if (poll(&p, 1, int(std::chrono::milliseconds(patience).count())) != 1)
				return false;
		}
		return true;
	}
	bool writeAll(const Bytes &bytes) { return writeAll(bytes.data(), bytes.size()); }

	bool hasRoom() const
	{
		pollfd p{m_fd, POLLOUT, 0};
		return poll(&p, 1, 0) == 1;
	}

	int fullCount = 0;
	int lastError = 0;

private:
	int m_fd;
};

// A box root of its own for every test, with the decoder's FIFO in it.
class DecoderTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		signal(SIGPIPE, SIG_IGN);
		char name[] = "/tmp/quelt-decoder-XXXXXX";
		ASSERT_NE(mkdtemp(name), nullptr);
		m_root = name;
		hostpaths::setRoot(m_root);
		ASSERT_FALSE(vlcStream().empty()) << "the transport-stream fixture is missing";
	}

	void TearDown() override
	{
		hostpaths::setRoot("/");
		std::error_code ignored;
		std::filesystem::remove_all(m_root, ignored);
	}

	std::string pvrPath() const { return m_root + "/dev/pvr"; }

	// Feeds a whole stream and waits until the decoder has taken all of it.
	void play(BoxDecoder &decoder, const Bytes &stream)
	{
		FifoWriter writer(pvrPath());
		ASSERT_TRUE(writer.isOpen());
		ASSERT_TRUE(writer.writeAll(stream));
		ASSERT_TRUE(decoder.waitUntilIdle(patience));
	}

	Watchdog m_watchdog{std::chrono::seconds(120)};
	std::string m_root;
};

struct PidCase
{
	const char *name;
	int vpid, apid;
	bool video, audio;
};

// Table cases print as their names in test listings.
void PrintTo(const PidCase &c, std::ostream *os)
{
	*os << c.name;
}

class DecoderPidTest : public DecoderTest, public ::testing::WithParamInterface<PidCase>
{
};

TEST_P(DecoderPidTest, PlaysOnlyThePidsThatSetChose)
{
	const PidCase &c = GetParam();
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	std::mutex soundMutex;
	int chunks = 0, channels = 0, rate = 0;
	decoder.setAudioSink([&](const AudioChunk &chunk) {
		std::lock_guard<std::mutex> lock(soundMutex);
		++chunks;
		channels = chunk.channels;
		rate = chunk.rate;
	});
	ASSERT_TRUE(decoder.start()) << decoder.error();
	decoder.set(pids(c.vpid, c.apid));
	EXPECT_EQ(decoder.parameters().vpid, c.vpid);
	EXPECT_EQ(decoder.parameters().apid, c.apid);
	play(decoder, vlcStream());

	EXPECT_EQ(decoder.bytesRead(), vlcStream().size());
	EXPECT_EQ(decoder.errors(), 0u);
	EXPECT_EQ(decoder.videoFrames() > 0, c.video) << decoder.videoFrames();
	EXPECT_EQ(decoder.audioFrames() > 0, c.audio) << decoder.audioFrames();

	DecodedPicture picture;
	ASSERT_EQ(decoder.lastPicture(picture), c.video);
	if (c.video)
	{
		EXPECT_EQ(picture.width, 704);
		EXPECT_EQ(picture.height, 576);
		EXPECT_EQ(picture.aspectNum, 11);
		EXPECT_EQ(picture.aspectDen, 9);
		ASSERT_EQ(picture.argb.size(), size_t(704) * 576);
		EXPECT_EQ(picture.argb[0] >> 24, 0xFFu) << "pixels are opaque";
		EXPECT_EQ(picture.serial, decoder.videoFrames());
	}
	std::lock_guard<std::mutex> lock(soundMutex);
	EXPECT_EQ(uint64_t(chunks), decoder.audioFrames());
	if (c.audio)
	{
		EXPECT_EQ(channels, 2);
		EXPECT_EQ(rate, 44100);
	}
}

INSTANTIATE_TEST_SUITE_P(Pids, DecoderPidTest,
			 ::testing::Values(PidCase{"both", videoPid, audioPid, true, true},
					   PidCase{"videoOnly", videoPid, 0x99, true, false},
					   PidCase{"audioOnly", -1, audioPid, false, true},
					   PidCase{"neither", 0x65, 0xC9, false, false}),
			 [](const auto &info) { return std::string(info.param.name); });

TEST_F(DecoderTest, ReadsAndDropsEverythingUntilSet)
{
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start());
	play(decoder, vlcStream());
	EXPECT_EQ(decoder.bytesRead(), vlcStream().size());
	EXPECT_EQ(decoder.videoFrames(), 0u);
	EXPECT_EQ(decoder.audioFrames(), 0u);
}

// Streams made by ffmpeg at test time: other encoders, AC3, no video, a video
// codec the receiver does not decode.
struct EncodedCase
{
	const char *name;
	std::vector<std::string> codecArgs;
	int vpid, apid, audioType;
	bool video;
	bool unsupported;
};

void PrintTo(const EncodedCase &c, std::ostream *os)
{
	*os << c.name;
}

class DecoderEncodedTest : public DecoderTest, public ::testing::WithParamInterface<EncodedCase>
{
protected:
	// Runs ffmpeg; false when it cannot be run.
	bool encode(const EncodedCase &c, const std::string &out)
	{
		std::vector<std::string> args = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y"};
		if (c.video)
			args.insert(args.end(), {"-f", "lavfi", "-i", "testsrc=size=352x288:rate=25"});
		args.insert(args.end(), {"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-t", "1"});
		args.insert(args.end(), c.codecArgs.begin(), c.codecArgs.end());
		args.insert(args.end(), {"-f", "mpegts", "-mpegts_start_pid", "100", out});
		std::vector<char *> argv;
		for (std::string &a : args)
			argv.push_back(a.data());
		argv.push_back(nullptr);
		pid_t pid = 0;
		if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0)
			return false;
		int status = 0;
		while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
		{
		}
		return WIFEXITED(status) && WEXITSTATUS(status) == 0;
	}
};

TEST_P(DecoderEncodedTest, DecodesWhatTheReceiverDecodes)
{
	const EncodedCase &c = GetParam();
	std::string file = m_root + "/stream.ts";
	if (!encode(c, file))
		GTEST_SKIP() << "ffmpeg cannot make the stream";
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start());
	decoder.set(pids(c.vpid, c.apid, c.audioType));
	play(decoder, readFile(file));

	EXPECT_EQ(decoder.videoFrames() > 0, c.video && !c.unsupported) << decoder.videoFrames();
	EXPECT_GT(decoder.audioFrames(), 0u);
	EXPECT_EQ(decoder.errors() > 0, c.unsupported) << decoder.errors();
}

INSTANTIATE_TEST_SUITE_P(
	Ffmpeg, DecoderEncodedTest,
	::testing::Values(EncodedCase{"mpeg2Mp2", {"-c:v", "mpeg2video", "-c:a", "mp2"}, 100, 101, 0, true, false},
			  EncodedCase{"mpeg1Ac3", {"-c:v", "mpeg1video", "-c:a", "ac3"}, 100, 101, 1, true, false},
			  EncodedCase{"noVideo", {"-c:a", "mp2"}, -1, 100, 0, false, false},
			  EncodedCase{"mpeg4VideoIsNotDecoded", {"-c:v", "mpeg4", "-c:a", "mp2"}, 100, 101, 0, true, true}),
	[](const auto &info) { return std::string(info.param.name); });

TEST_F(DecoderTest, PauseBlocksTheWriterAndResumeContinues)
{
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start());
	// Through the platform's calls, as the plug-in makes them.
	Decoder::setBackend(&decoder);
	Decoder::parms = pids(videoPid, audioPid);
	Decoder::Set();
	Decoder::Pause(1);
	EXPECT_TRUE(decoder.isPaused());

	const Bytes &stream = vlcStream();
	FifoWriter writer(pvrPath());
	size_t written = writer.writeUntilFull(stream.data(), stream.size());
	EXPECT_LT(written, stream.size()) << "the writer must meet a full FIFO";
	EXPECT_EQ(writer.lastError, EAGAIN);
	EXPECT_EQ(decoder.bytesRead(), 0u);
	EXPECT_EQ(decoder.videoFrames(), 0u);

	Decoder::Resume(true);
	EXPECT_FALSE(decoder.isPaused());
	ASSERT_TRUE(writer.writeAll(stream.data() + written, stream.size() - written));
	ASSERT_TRUE(decoder.waitUntilIdle(patience));
	EXPECT_EQ(decoder.bytesRead(), stream.size());
	EXPECT_GT(decoder.videoFrames(), 0u);
	EXPECT_GT(decoder.audioFrames(), 0u);
	Decoder::setBackend(nullptr);
}

TEST_F(DecoderTest, FlushDropsWhatTheFifoHoldsAndKeepsThePause)
{
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start());
	decoder.set(pids(videoPid, audioPid));
	decoder.pause();
	const Bytes &stream = vlcStream();
	FifoWriter writer(pvrPath());
	size_t written = writer.writeUntilFull(stream.data(), stream.size());
	ASSERT_FALSE(writer.hasRoom());

	decoder.flush();
	EXPECT_EQ(decoder.bytesRead(), written);
	EXPECT_TRUE(writer.hasRoom());
	EXPECT_TRUE(decoder.isPaused());
	EXPECT_EQ(decoder.videoFrames(), 0u);
	EXPECT_EQ(decoder.audioFrames(), 0u);

	decoder.resume();
	ASSERT_TRUE(writer.writeAll(stream));
	ASSERT_TRUE(decoder.waitUntilIdle(patience));
	EXPECT_GT(decoder.videoFrames(), 0u);
}

TEST_F(DecoderTest, RealTimePacingPushesBackOnTheWriter)
{
	BoxDecoder decoder(BoxDecoder::Pacing::realTime);
	ASSERT_TRUE(decoder.start());
	decoder.set(pids(videoPid, audioPid));
	// Two and a half seconds of pictures do not fit the FIFO; the writer has to
	// wait for the decoder, which takes them at their pace.
	FifoWriter writer(pvrPath());
	ASSERT_TRUE(writer.writeAll(vlcStream()));
	EXPECT_GT(writer.fullCount, 0);
	ASSERT_TRUE(decoder.waitUntilIdle(patience));
	EXPECT_GT(decoder.videoFrames(), 0u);
	EXPECT_GT(decoder.audioFrames(), 0u);
}

TEST_F(DecoderTest, AWriterThatVanishesMidPacketDoesNotEndTheReader)
{
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start());
	decoder.set(pids(videoPid, audioPid));
	const Bytes &stream = vlcStream();
	{
		FifoWriter first(pvrPath());
		ASSERT_TRUE(first.writeAll(stream.data(), 188 * 40 + 77));
	}
	play(decoder, stream);
	EXPECT_EQ(decoder.bytesRead(), 188 * 40 + 77 + stream.size());
	EXPECT_GT(decoder.videoFrames(), 0u);
	EXPECT_GT(decoder.audioFrames(), 0u);
}

struct DamageCase
{
	const char *name;
	std::function<Bytes(const Bytes &)> damage;
};

void PrintTo(const DamageCase &c, std::ostream *os)
{
	*os << c.name;
}

class DecoderDamageTest : public DecoderTest, public ::testing::WithParamInterface<DamageCase>
{
};

TEST_P(DecoderDamageTest, CountsErrorsAndPlaysTheNextStream)
{
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start());
	decoder.set(pids(videoPid, audioPid));
	play(decoder, GetParam().damage(vlcStream()));
	EXPECT_GT(decoder.errors(), 0u);

	decoder.set(pids(videoPid, audioPid));
	uint64_t videoBefore = decoder.videoFrames();
	play(decoder, vlcStream());
	EXPECT_GT(decoder.videoFrames(), videoBefore);
}

Bytes randomBytes(size_t size, unsigned seed)
{
	std::mt19937 random(seed);
	Bytes out(size);
	for (uint8_t &b : out)
		b = uint8_t(random());
	return out;
}

INSTANTIATE_TEST_SUITE_P(
	Damage, DecoderDamageTest,
	::testing::Values(DamageCase{"randomBytes", [](const Bytes &) { return randomBytes(200000, 1); }},
			  DamageCase{"packetsCutShort",
				     [](const Bytes &s) {
					     Bytes out;
					     for (size_t at = 0; at + 188 <= s.size(); at += 188)
						     out.insert(out.end(), s.begin() + at, s.begin() + at + (at % (188 * 7) ? 188 : 100));
					     return out;
				     }},
			  DamageCase{"payloadsScrambled",
				     [](const Bytes &s) {
					     Bytes out = s;
					     Bytes noise = randomBytes(s.size(), 2);
					     // Packet headers and program tables stay whole, so the
					     // damage reaches the decoders.
					     for (size_t at = 0; at < out.size(); ++at)
						     if (at % 188 >= 100)
							     out[at] ^= noise[at];
					     return out;
				     }},
			  DamageCase{"truncatedStream",
				     [](const Bytes &s) {
					     Bytes out(s.begin(), s.begin() + 188 * 300 + 50);
					     Bytes tail = randomBytes(188 * 3, 3);
					     out.insert(out.end(), tail.begin(), tail.end());
					     return out;
				     }}),
	[](const auto &info) { return std::string(info.param.name); });

TEST_F(DecoderTest, StopReturnsWhileAWriterIsBlocked)
{
	BoxDecoder decoder(BoxDecoder::Pacing::realTime);
	ASSERT_TRUE(decoder.start());
	decoder.set(pids(videoPid, audioPid));
	decoder.pause();
	// A blocking writer as the plug-in's feeder is; the open itself succeeds at
	// once because the decoder holds the read end.
	int fd = open(pvrPath().c_str(), O_WRONLY | O_CLOEXEC);
	ASSERT_GE(fd, 0);
	std::atomic<bool> writerDone{false};
	std::thread writer([&] {
		Bytes big(4 << 20, 0);
		ssize_t n = write(fd, big.data(), big.size());
		(void)n;
		writerDone = true;
	});
	decoder.stop();
	writer.join();
	close(fd);
	EXPECT_TRUE(writerDone.load());
	EXPECT_FALSE(decoder.waitUntilIdle(1ms));
}

struct FifoCase
{
	const char *name;
	std::function<void(const std::string &root)> prepare;
	bool starts;
	bool warns;
};

void PrintTo(const FifoCase &c, std::ostream *os)
{
	*os << c.name;
}

class DecoderFifoTest : public DecoderTest, public ::testing::WithParamInterface<FifoCase>
{
};

void collectLog(const char *line, void *user)
{
	static_cast<std::vector<std::string> *>(user)->push_back(line);
}

TEST_P(DecoderFifoTest, MakesTheFifoInTheBoxRoot)
{
	const FifoCase &c = GetParam();
	c.prepare(m_root);
	std::vector<std::string> log;
	hostlog::setSink(collectLog, &log);
	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	bool started = decoder.start();
	hostlog::setSink(nullptr, nullptr);

	EXPECT_EQ(started, c.starts) << decoder.error();
	EXPECT_EQ(decoder.error().empty(), c.starts);
	bool warned = false;
	for (const std::string &line : log)
		warned |= line.find("replacing it with a FIFO") != std::string::npos;
	EXPECT_EQ(warned, c.warns);
	if (!c.starts)
		return;
	struct stat st{};
	ASSERT_EQ(stat(pvrPath().c_str(), &st), 0);
	EXPECT_TRUE(S_ISFIFO(st.st_mode));
	EXPECT_EQ(st.st_mode & 0777, 0666u);
	EXPECT_EQ(decoder.fifoPath(), pvrPath());
}

INSTANTIATE_TEST_SUITE_P(
	Fifo, DecoderFifoTest,
	::testing::Values(FifoCase{"absent", [](const std::string &) {}, true, false},
			  FifoCase{"presentAlready", [](const std::string &root) {
					   mkdir((root + "/dev").c_str(), 0755);
					   mkfifo((root + "/dev/pvr").c_str(), 0666);
					   chmod((root + "/dev/pvr").c_str(), 0666);
				   }, true, false},
			  FifoCase{"regularFile", [](const std::string &root) {
					   mkdir((root + "/dev").c_str(), 0755);
					   std::ofstream((root + "/dev/pvr").c_str()) << "stale";
				   }, true, true},
			  FifoCase{"directory", [](const std::string &root) {
					   mkdir((root + "/dev").c_str(), 0755);
					   mkdir((root + "/dev/pvr").c_str(), 0755);
				   }, false, false}),
	[](const auto &info) { return std::string(info.param.name); });
} // namespace
