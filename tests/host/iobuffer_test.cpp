#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <ostream>
#include <vector>

#include "host/eiobuffer.h"

namespace
{
struct QueueCase
{
	int chunkSize;
	std::vector<int> writeSizes; // used in turn, round robin
	std::vector<int> readSizes;
};

void PrintTo(const QueueCase &c, std::ostream *os)
{
	*os << "chunk size " << c.chunkSize;
}

// Every byte is its position in the stream, so a byte read out of order shows.
class ByteSource
{
public:
	std::vector<char> next(int n)
	{
		std::vector<char> out(size_t(n > 0 ? n : 0));
		for (char &c : out)
			c = char(m_counter++ * 7 + 3);
		return out;
	}

private:
	unsigned m_counter = 0;
};

class IOBufferModelTest : public ::testing::TestWithParam<QueueCase>
{
};

TEST_P(IOBufferModelTest, MatchesDequeAcrossChunkBoundaries)
{
	const QueueCase &c = GetParam();
	eIOBuffer buffer(c.chunkSize);
	std::deque<char> model;
	ByteSource source;

	for (int step = 0; step < 60; ++step)
	{
		int w = c.writeSizes[step % c.writeSizes.size()];
		std::vector<char> data = source.next(w);
		buffer.write(data.data(), w);
		model.insert(model.end(), data.begin(), data.end());
		ASSERT_EQ(buffer.size(), int(model.size()));

		// Peek somewhere inside without disturbing the queue.
		int offset = int(model.size()) / 3;
		std::vector<char> peeked(size_t(c.chunkSize) * 2 + 5, 0);
		int peekedLen = buffer.peek(peeked.data(), int(peeked.size()), offset);
		ASSERT_EQ(peekedLen, std::min(int(peeked.size()), int(model.size()) - offset));
		for (int i = 0; i < peekedLen; ++i)
			ASSERT_EQ(peeked[i], model[offset + i]) << "peek at offset " << offset << " byte " << i;

		int r = c.readSizes[step % c.readSizes.size()];
		std::vector<char> out(size_t(r > 0 ? r : 0) + 1, 0);
		int got = buffer.read(out.data(), r);
		int expect = std::max(0, std::min(r, int(model.size())));
		ASSERT_EQ(got, expect);
		for (int i = 0; i < got; ++i)
		{
			ASSERT_EQ(out[i], model.front()) << "step " << step << " byte " << i;
			model.pop_front();
		}
		ASSERT_EQ(buffer.size(), int(model.size()));
		ASSERT_EQ(buffer.empty(), model.empty());
	}

	// Drain what is left in one read.
	std::vector<char> rest(model.size() + 10);
	ASSERT_EQ(buffer.read(rest.data(), int(rest.size())), int(model.size()));
	EXPECT_TRUE(std::equal(model.begin(), model.end(), rest.begin()));
	EXPECT_TRUE(buffer.empty());
}

INSTANTIATE_TEST_SUITE_P(Chunks, IOBufferModelTest,
	::testing::Values(
		QueueCase{1, {1, 3, 0, 2}, {2, 1, 0}},
		QueueCase{2, {5}, {3}},
		QueueCase{3, {3, 6, 1}, {4, 2}},
		QueueCase{7, {1, 13, 7, 0}, {9, 5, 20}},
		QueueCase{16, {40, 3}, {17, 16, 2}},
		QueueCase{188, {1316, 7}, {188 * 3, 100}},
		QueueCase{4096, {1000, 5000}, {6000, -1, 1}}));

TEST(IOBufferTest, PeekPastTheEndAndBadLengthsDoNothing)
{
	eIOBuffer buffer(4);
	buffer.write("abcdef", 6);
	char out[8] = {};
	EXPECT_EQ(buffer.peek(out, 4, 6), 0);
	EXPECT_EQ(buffer.peek(out, 4, -1), 0);
	EXPECT_EQ(buffer.peek(out, 0, 0), 0);
	EXPECT_EQ(buffer.read(out, -5), 0);
	buffer.write("x", -3);
	EXPECT_EQ(buffer.size(), 6);
	EXPECT_EQ(buffer.peek(out, 8, 4), 2);
	EXPECT_EQ(std::string(out, 2), "ef");
}

TEST(IOBufferTest, ClearEmptiesAndTheQueueIsUsableAgain)
{
	eIOBuffer buffer(3);
	buffer.write("hello world", 11);
	char out[4] = {};
	buffer.read(out, 4);
	buffer.clear();
	EXPECT_TRUE(buffer.empty());
	EXPECT_EQ(buffer.size(), 0);
	EXPECT_EQ(buffer.read(out, 4), 0);
	buffer.write("abc", 3);
	EXPECT_EQ(buffer.read(out, 4), 3);
	EXPECT_EQ(std::string(out, 3), "abc");
}

TEST(IOBufferTest, NonPositiveChunkSizeStillWorks)
{
	eIOBuffer buffer(0);
	buffer.write("xyz", 3);
	char out[3];
	EXPECT_EQ(buffer.read(out, 3), 3);
	EXPECT_EQ(std::string(out, 3), "xyz");
}
} // namespace
