#include <gtest/gtest.h>

#include <vector>

#include "engine/enginefixture.h"
#include "host/elabel.h"
#include "host/ewidget.h"
#include "host/gpixmap.h"

namespace
{
struct PidCase
{
	const char *what;
	eString bytes;
	int vpid, apid, ac3;
};

eString packets(std::initializer_list<eString> list)
{
	eString out;
	for (const eString &p : list)
		out += p;
	return out;
}

eString continuation(int pid, int count)
{
	eString out;
	for (int i = 0; i < count; ++i)
		out += tsPacket(pid);
	return out;
}

using PidSearchTest = EngineFixture;

TEST_F(PidSearchTest, FindsTheVideoAndAudioPids)
{
	const PidCase cases[] = {
		{"video and MPEG audio", packets({tsPacket(0x44, 0xC0), tsPacket(0x45, 0xE0)}), 0x45, 0x44, 0},
		{"AC3 in private stream 1", packets({tsPacket(0x44, 0xBD), tsPacket(0x45, 0xE3)}), 0x45, 0x44, 1},
		{"garbage before the first sync byte",
			eString("\x01\x02\x03\x04\x05", 5) + packets({tsPacket(0x45, 0xE0), tsPacket(0x44, 0xC0)}), 0x45, 0x44, 0},
		// The stream id sits behind the 8 bytes of the adaptation field: offset 15.
		{"adaptation field of 7 bytes", packets({tsPacket(0x45, 0xE0, 7), tsPacket(0x44, 0xDF, 0)}), 0x45, 0x44, 0},
		{"the last of two audio PIDs before the video",
			packets({tsPacket(0x44, 0xC0), tsPacket(0x46, 0xC1), tsPacket(0x45, 0xE0), tsPacket(0x47, 0xBD)}), 0x45,
			0x46, 0},
		{"audio only: the last audio start wins",
			packets({tsPacket(0x44, 0xBD), tsPacket(0x46, 0xC0), tsPacket(0x44, 0xBD)}), -1, 0x44, 1},
		{"video only", packets({tsPacket(0x45, 0xE0), tsPacket(0x45)}), 0x45, -1, -1},
		{"13-bit PIDs", packets({tsPacket(0x1FFE, 0xEF), tsPacket(0x1000, 0xC0)}), 0x1FFE, 0x1000, 0},
		{"other stream ids name nothing", packets({tsPacket(0x44, 0xBE), tsPacket(0x45, 0xBC), tsPacket(0x46, 0xF0)}),
			-1, -1, -1},
		{"continuation packets name nothing", continuation(0x45, 5), -1, -1, -1},
		{"empty buffer", eString(), -1, -1, -1},
		{"no sync byte at all", eString(2000, char(0x11)), -1, -1, -1},
		// A start whose stream id would lie past the end is skipped.
		{"cut before the stream id", tsPacket(0x45, 0xE0, 7).left(15), -1, -1, -1},
		// 65424 bytes are scanned at a time; a packet across the boundary is
		// skipped and the sync is found again in the next piece.
		{"across the pieces",
			eString("\x01\x02\x03", 3) + continuation(0x45, 347) + packets({tsPacket(0x50, 0xE0), tsPacket(0x51, 0xC0)}),
			0x50, 0x51, 0},
		{"many pieces",
			continuation(0x45, 1000) + packets({tsPacket(0x60, 0xC0)}) + continuation(0x45, 1000) +
				packets({tsPacket(0x61, 0xE0)}),
			0x61, 0x60, 0},
	};
	for (const PidCase &c : cases)
	{
		SCOPED_TRACE(c.what);
		eIOBuffer buffer(1000);
		buffer.write(c.bytes.data(), int(c.bytes.size()));
		int vpid = 7, apid = 7, ac3 = 7;
		engine->find_avpids_stream(&buffer, &vpid, &apid, &ac3);
		EXPECT_EQ(vpid, c.vpid);
		EXPECT_EQ(apid, c.apid);
		EXPECT_EQ(ac3, c.ac3);

		// The buffer holds what it held, in the same order.
		ASSERT_EQ(size_t(buffer.size()), c.bytes.size());
		eString after(c.bytes.size(), '\0');
		buffer.peek(after.data(), int(after.size()));
		EXPECT_TRUE(after == c.bytes);
	}
}

TEST_F(PidSearchTest, PidsAreThirteenBits)
{
	const struct
	{
		unsigned char bytes[2];
		int pid;
	} cases[] = {{{0x00, 0x00}, 0}, {{0x40, 0x64}, 0x64}, {{0x1F, 0xFF}, 0x1FFF}, {{0xFF, 0xFF}, 0x1FFF},
		{{0xE1, 0x23}, 0x123}};
	for (const auto &c : cases)
		EXPECT_EQ(engine->get_pid_stream(c.bytes), c.pid);
}

TEST_F(PidSearchTest, TheBarGrowsInHundredthsOfThePicture)
{
	s_statp = new gPixmap(eSize(250, 20));
	v_progress = new eLabel(nullptr);
	epT = new eLabel(nullptr);
	const struct
	{
		int percent;
		int width;
		const char *text;
	} cases[] = {{8, 16, "08%"}, {0, 0, "00%"}, {57, 114, "57%"}, {100, 200, "100%"}, {103, 206, "103%"}};
	for (const auto &c : cases)
	{
		SCOPED_TRACE(c.percent);
		engine->updateBufferingInfos(c.percent);
		EXPECT_EQ(v_progress->getSize(), eSize(c.width, 20));
		EXPECT_TRUE(v_progress->isVisible());
		EXPECT_EQ(epT->getText(), c.text);
	}

	// Without the picture only the text changes.
	delete s_statp;
	s_statp = nullptr;
	engine->updateBufferingInfos(42);
	EXPECT_EQ(v_progress->getSize(), eSize(206, 20));
	EXPECT_EQ(epT->getText(), "42%");
}

struct PrebufferCase
{
	const char *what;
	int bytes;      // received after the answer head
	bool holdAfter; // the sender then stalls instead of closing
	int held;
	const char *lastText;
};

TEST_F(PidSearchTest, PrebufferingStopsAtTheTargetOrWhenTheDataStops)
{
	const int target = 4 * videoBlockSize;
	const PrebufferCase cases[] = {
		{"exactly the target", target, false, target, "100%"},
		{"more than the target", target + 5 * videoBlockSize, false, -1, nullptr},
		{"the sender closes at half", target / 2, false, target / 2, "54%"},
		{"the sender stalls at half", target / 2, true, target / 2, "54%"},
		{"nothing at all", 0, false, 0, nullptr},
	};
	epT = new eLabel(nullptr);
	epT->show();
	std::vector<eString> texts;
	eWidget::setRepaintHook([&](eWidget *w) {
		if (w && w == epT && (texts.empty() || texts.back() != epT->getText()))
			texts.push_back(epT->getText());
	});
	for (const PrebufferCase &c : cases)
	{
		SCOPED_TRACE(c.what);
		vlc.setStreamData(served(tsStream(c.bytes / 188)));
		vlc.setStreamHoldAfter(c.holdAfter ? droppedWithHead() + size_t(c.bytes) : 0);
		texts.clear();
		{
			std::lock_guard<std::mutex> lock(bufferMutex);
			tsBuffer_Stream.clear();
		}
		ASSERT_EQ(engine->requestStream(), 0);
		int held = bufferVLC(streamFd, target);
		EXPECT_EQ(tsBuffer_Stream.size(), held);
		EXPECT_EQ(BLOCKSIZE.load(), videoBlockSize);
		if (c.held >= 0)
		{
			EXPECT_EQ(held, c.held);
		}
		else
		{
			EXPECT_GE(held, target);
			EXPECT_LT(held, target + videoBlockSize);
		}
		if (c.lastText)
		{
			ASSERT_FALSE(texts.empty());
			EXPECT_EQ(texts.back(), c.lastText);
		}
		else if (c.bytes == 0)
		{
			EXPECT_TRUE(texts.empty());
		}
		// The percentages only grow.
		for (size_t i = 1; i < texts.size(); ++i)
			EXPECT_LT(atoi(texts[i - 1].c_str()), atoi(texts[i].c_str()));
		retireStreamConnection(streamFd.exchange(-1));
	}
}

TEST_F(PidSearchTest, PureAudioReadsQuarterTargets)
{
	isStream = false;
	INITIALBUFFER = videoBlockSize / 2;
	vlc.setStreamData(served(tsStream(1000, -1, 0xC8)));
	ASSERT_EQ(engine->requestStream(), 0);
	int held = bufferVLC(streamFd, INITIALBUFFER);
	EXPECT_GE(held, videoBlockSize / 2);
	EXPECT_LT(held, videoBlockSize / 2 + videoBlockSize / 8);
	EXPECT_EQ(BLOCKSIZE.load(), videoBlockSize / 8);
	retireStreamConnection(streamFd.exchange(-1));
}
} // namespace
