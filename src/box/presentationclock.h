#ifndef BOX_PRESENTATIONCLOCK_H
#define BOX_PRESENTATIONCLOCK_H

#include <chrono>
#include <cstdint>

// Maps a stream's presentation times onto the wall clock, so the decoder shows each
// frame when it is due relative to the first one. It anchors on the first frame and
// again whenever the stream's time jumps or the decoder has fallen far behind (a
// starved feeder, a new stream with other timestamps, the 33-bit wrap): a waiting
// decoder must never sleep for the size of a jump, nor rush through a backlog.
class PresentationClock
{
public:
	using TimePoint = std::chrono::steady_clock::time_point;

	// How far ahead of the wall clock a frame may be due, and how late, before the
	// clock anchors again; a jump backwards shows as lateness. Audio and video of one
	// stream are interleaved up to about a second apart, which must not count.
	static constexpr int64_t maxAheadUs = 5000000;
	static constexpr int64_t maxLateUs = 2000000;

	// The next frame anchors the clock.
	void reset() { m_anchored = false; }
	// When a frame stamped ptsUs (microseconds) is due, asked at the time now.
	TimePoint due(int64_t ptsUs, TimePoint now);

private:
	bool m_anchored = false;
	int64_t m_anchorPtsUs = 0;
	TimePoint m_anchorTime;
};

#endif
