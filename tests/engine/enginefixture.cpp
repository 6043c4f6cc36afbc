#include "engine/enginefixture.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "config/configkeys.h"
#include "engine/enginetimings.h"
#include "host/decoder.h"
#include "host/econfig.h"
#include "host/ewidget.h"
#include "host/mainloop.h"
#include "host/paths.h"

namespace
{
eString be32(uint32_t v)
{
	char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
	return eString(b, 4);
}

uint32_t crc32(const eString &data)
{
	uint32_t crc = 0xFFFFFFFFu;
	for (unsigned char c : data)
	{
		crc ^= c;
		for (int k = 0; k < 8; ++k)
			crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
	}
	return ~crc;
}

eString pngChunk(const char *type, const eString &data)
{
	eString body = eString(type) + data;
	return be32(uint32_t(data.size())) + body + be32(crc32(body));
}
} // namespace

eString tsPacket(int pid, int streamId, int adaptationLength, uint8_t fill)
{
	eString p(188, char(fill));
	p[0] = 0x47;
	p[1] = char((streamId >= 0 ? 0x40 : 0) | ((pid >> 8) & 0x1F));
	p[2] = char(pid & 0xFF);
	p[3] = char(adaptationLength >= 0 ? 0x30 : 0x10);
	size_t pos = 4;
	if (adaptationLength >= 0)
	{
		p[4] = char(adaptationLength);
		if (adaptationLength > 0)
			p[5] = 0;
		for (int i = 1; i < adaptationLength; ++i)
			p[5 + i] = char(0xFF);
		pos = 5 + size_t(adaptationLength);
	}
	if (streamId >= 0 && pos + 6 <= p.size())
	{
		const char pes[] = {0, 0, 1, char(streamId), 0, 0};
		p.replace(pos, 6, pes, 6);
	}
	return p;
}

namespace
{
eString streamPacket(long index, int vpid, int apid, int audioId)
{
	uint8_t fill = uint8_t(index * 7 + 1);
	if (apid >= 0 && (vpid < 0 || index % 10 == 3))
		return tsPacket(apid, index % 10 == 3 || vpid < 0 ? audioId : -1, -1, fill);
	if (vpid >= 0)
		return tsPacket(vpid, index % 25 == 0 ? 0xE0 : -1, -1, fill);
	return tsPacket(0x1FFF, -1, -1, fill);
}
} // namespace

eString tsStream(int count, int vpid, int apid, int audioId)
{
	eString out;
	out.reserve(size_t(count) * 188);
	for (long i = 0; i < count; ++i)
		out += streamPacket(i, vpid, apid, audioId);
	return out;
}

size_t EndlessStream::read(char *buffer, size_t max)
{
	size_t done = 0;
	while (done < max)
	{
		if (m_offset == m_packet.size())
		{
			m_packet = streamPacket(m_index++, m_vpid, m_apid, 0xC0);
			m_offset = 0;
		}
		size_t n = std::min(max - done, m_packet.size() - m_offset);
		memcpy(buffer + done, m_packet.data() + m_offset, n);
		done += n;
		m_offset += n;
	}
	return done;
}

size_t BytesSource::read(char *buffer, size_t max)
{
	size_t n = std::min(max, m_bytes.size() - m_offset);
	memcpy(buffer, m_bytes.data() + m_offset, n);
	m_offset += n;
	return n;
}

eString pngFile(int width, int height)
{
	// Stored (uncompressed) deflate blocks: enough for a picture this small.
	eString raw;
	for (int y = 0; y < height; ++y)
	{
		raw += char(0);
		for (int x = 0; x < width; ++x)
			raw += eString("\x30\x80\xC0\xFF", 4);
	}
	eString zlib("\x78\x01", 2);
	for (size_t pos = 0; pos < raw.size() || pos == 0;)
	{
		size_t n = std::min<size_t>(65535, raw.size() - pos);
		bool last = pos + n == raw.size();
		zlib += char(last ? 1 : 0);
		zlib += char(n & 0xFF);
		zlib += char(n >> 8);
		zlib += char(~n & 0xFF);
		zlib += char((~n >> 8) & 0xFF);
		zlib += raw.substr(pos, n);
		pos += n;
		if (last)
			break;
	}
	uint32_t a = 1, b = 0;
	for (unsigned char c : raw)
	{
		a = (a + c) % 65521;
		b = (b + a) % 65521;
	}
	zlib += be32((b << 16) | a);
	eString header = be32(uint32_t(width)) + be32(uint32_t(height)) + eString("\x08\x06\x00\x00\x00", 5);
	return eString("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", zlib) +
		   pngChunk("IEND", "");
}

EngineTimings EngineFixture::testTimings()
{
	EngineTimings t;
	t.videoStallMs = 3000;
	t.audioStallMs = 3000;
	t.playOutMs = 100;
	t.prebufferWaitMs = 2000;
	t.answerTimeoutMs = 2000;
	return t;
}

void EngineFixture::SetUp()
{
	watchdog = std::make_unique<Watchdog>(120, ::testing::UnitTest::GetInstance()->current_test_info()->name());
	setEngineTimings(testTimings());
	host.loop();
	writeSettings();
	eConfig::getInstance()->setKey(configkey::buffersize, 4);
	engine->control("start", "nofile", 1);
	ASSERT_EQ(engine->activeServer.missingSet, 0);
	engine->status = STATUS_IDLE;
	audioOnly = false;
	retryC = 0;
	Decoder::parms = decoderParameters();
	Decoder::clearHistory();
	vlc.clearRequests();
	host.clearLog();
	descriptorsBefore = openDescriptors();
}

void EngineFixture::TearDown()
{
	// A test that ended early must not leave its hook behind.
	eWidget::setRepaintHook(nullptr);
	// A pause must not keep the engine from stopping.
	engine->control("stop", "nofile", 1);
	EXPECT_EQ(engine->status.load(), STATUS_IDLE);
	expectCollected();
	runPosted();
	EXPECT_EQ(s_stat, nullptr);
	EXPECT_EQ(epT, nullptr);
	// The double closes its side of a connection once the engine has closed its own.
	EXPECT_TRUE(waitUntil([this] { return openDescriptors() <= descriptorsBefore; }, 10))
		<< openDescriptors() << " descriptors open, " << descriptorsBefore << " before";
	setEngineTimings(EngineTimings());
	watchdog.reset();
}

void EngineFixture::writeSettings(const eString &setups)
{
	host.writeFile("/var/tuxbox/config/quelt.xml",
		eString::format("<vlc><server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\"/>"
						"<config name=\"set1\" startdir=\"/films\" cddrive=\"D:\"/>%s</vlc>",
			vlc.webPort(), vlc.streamPort(), setups.c_str()));
}

size_t EngineFixture::droppedWithHead()
{
	return 511 - VlcDouble::streamAnswerHead().size();
}

eString EngineFixture::served(const eString &payload)
{
	return eString(droppedWithHead(), 'D') + payload;
}

bool EngineFixture::waitForStatus(int status, int seconds)
{
	return engine->status.waitFor(status, std::chrono::seconds(seconds));
}

bool EngineFixture::waitUntil(const std::function<bool()> &pred, int seconds)
{
	auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
	while (!pred())
	{
		if (std::chrono::steady_clock::now() > deadline)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(5));
	}
	return true;
}

void EngineFixture::runPosted()
{
	while (host.loop().processOneEvent(false))
	{
	}
}

size_t EngineFixture::openDescriptors()
{
	size_t count = 0;
	if (DIR *d = opendir("/proc/self/fd"))
	{
		while (dirent *e = readdir(d))
			if (e->d_name[0] != '.')
				++count;
		closedir(d);
	}
	return count;
}

void EngineFixture::expectCollected()
{
	EXPECT_FALSE(receiver.joinable());
	EXPECT_FALSE(pvr.joinable());
	EXPECT_EQ(streamFd.load(), -1);
	EXPECT_EQ(pvrFd.load(), -1);
}

eString EngineFixture::readPvrFile(size_t offset) const
{
	std::ifstream f(hostPath("/dev/pvr").c_str(), std::ios::binary);
	f.seekg(0, std::ios::end);
	std::streamoff end = f.tellg();
	if (!f || end <= std::streamoff(offset))
		return eString();
	eString out(size_t(end) - offset, '\0');
	f.seekg(std::streamoff(offset));
	f.read(out.data(), std::streamsize(out.size()));
	out.resize(size_t(f.gcount()));
	return out;
}

size_t EngineFixture::pvrFileSize() const
{
	struct stat st;
	return stat(hostPath("/dev/pvr").c_str(), &st) == 0 ? size_t(st.st_size) : 0;
}
