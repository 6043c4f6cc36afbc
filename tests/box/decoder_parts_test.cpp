#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ostream>
#include <vector>

#include "box/presentationclock.h"
#include "box/tssyncmonitor.h"

// The pieces the box's decoder is made of, on their own.
namespace
{
using Bytes = std::vector<uint8_t>;

struct ClockStep
{
	int64_t ptsUs;
	int64_t nowUs;
	int64_t dueUs;
};

struct ClockCase
{
	const char *name;
	std::vector<ClockStep> steps;
};

// Table cases print as their names in test listings.
void PrintTo(const ClockCase &c, std::ostream *os)
{
	*os << c.name;
}

class PresentationClockTest : public ::testing::TestWithParam<ClockCase>
{
};

TEST_P(PresentationClockTest, SchedulesFramesByTheirStamps)
{
	PresentationClock clock;
	const PresentationClock::TimePoint origin{};
	int step = 0;
	for (const ClockStep &s : GetParam().steps)
	{
		auto due = clock.due(s.ptsUs, origin + std::chrono::microseconds(s.nowUs));
		EXPECT_EQ(std::chrono::duration_cast<std::chrono::microseconds>(due - origin).count(), s.dueUs)
			<< "step " << step;
		++step;
	}
}

INSTANTIATE_TEST_SUITE_P(
	Clock, PresentationClockTest,
	::testing::Values(ClockCase{"steady", {{1000000, 0, 0}, {1040000, 0, 40000}, {1080000, 10000, 80000}}},
			  ClockCase{"lateWithinLimit", {{0, 0, 0}, {40000, 1500000, 40000}}},
			  ClockCase{"stallAnchorsAgain", {{0, 0, 0}, {40000, 3000000, 3000000}, {80000, 3000000, 3040000}}},
			  ClockCase{"jumpForward", {{0, 0, 0}, {10000000, 0, 0}, {10040000, 0, 40000}}},
			  ClockCase{"jumpBackward", {{10000000, 0, 0}, {0, 0, 0}, {40000, 0, 40000}}},
			  ClockCase{"damagedStamp", {{0, 0, 0}, {INT64_MAX, 0, 0}, {INT64_MIN, 5, 5}}}),
	[](const auto &info) { return std::string(info.param.name); });

Bytes tsPacket(uint8_t fill = 0)
{
	Bytes p(TsSyncMonitor::packetSize, fill);
	p[0] = TsSyncMonitor::syncByte;
	return p;
}

Bytes join(std::initializer_list<Bytes> parts)
{
	Bytes out;
	for (const Bytes &p : parts)
		out.insert(out.end(), p.begin(), p.end());
	return out;
}

struct SyncCase
{
	const char *name;
	Bytes bytes;
	size_t chunk; // fed in pieces of this size
	unsigned losses;
};

void PrintTo(const SyncCase &c, std::ostream *os)
{
	*os << c.name;
}

class TsSyncMonitorTest : public ::testing::TestWithParam<SyncCase>
{
};

TEST_P(TsSyncMonitorTest, CountsLostSyncs)
{
	const SyncCase &c = GetParam();
	TsSyncMonitor monitor;
	monitor.reset();
	unsigned losses = 0;
	for (size_t at = 0; at < c.bytes.size(); at += c.chunk)
		losses += monitor.feed(c.bytes.data() + at, std::min(c.chunk, c.bytes.size() - at));
	EXPECT_EQ(losses, c.losses);
}

Bytes cut(Bytes b, size_t size)
{
	b.resize(size);
	return b;
}

INSTANTIATE_TEST_SUITE_P(
	Sync, TsSyncMonitorTest,
	::testing::Values(SyncCase{"clean", join({tsPacket(), tsPacket(), tsPacket()}), 4096, 0},
			  SyncCase{"cleanInSmallPieces", join({tsPacket(), tsPacket(), tsPacket()}), 7, 0},
			  SyncCase{"leadingBytesOfAResumedWriter", join({Bytes(50, 0xFF), tsPacket(), tsPacket()}), 4096, 0},
			  SyncCase{"packetCutShort", join({tsPacket(), cut(tsPacket(), 100), tsPacket(), tsPacket()}), 4096, 1},
			  SyncCase{"cutShortByteByByte", join({tsPacket(), cut(tsPacket(), 100), tsPacket(), tsPacket()}), 1, 1},
			  SyncCase{"garbageBetween", join({tsPacket(), Bytes(20, 0xFF), tsPacket(), tsPacket()}), 64, 1},
			  SyncCase{"falseSyncInGarbage", join({tsPacket(), Bytes(20, 0x47), tsPacket()}), 4096, 1}),
	[](const auto &info) { return std::string(info.param.name); });
} // namespace
