#ifndef ENGINE_ENGINETIMINGS_H
#define ENGINE_ENGINETIMINGS_H

// The waits of the streaming engine that run on the real clock. A stream is
// taken as ended when no byte has come for the stall time; VLC drops a client
// only after 10 seconds, so a shorter network hiccup never ends a film.
struct EngineTimings
{
	static constexpr int defaultVideoStallMs = 10000;
	static constexpr int defaultAudioStallMs = 30000;
	static constexpr int defaultPlayOutMs = 7000;
	static constexpr int defaultPrebufferWaitMs = 7000;
	static constexpr int defaultAnswerTimeoutMs = 3000;

	// No byte for this long ends a stream with video, or a pure-audio stream.
	int videoStallMs = defaultVideoStallMs;
	int audioStallMs = defaultAudioStallMs;
	// After the end of a stream, the time the decoder gets to play what it holds.
	int playOutMs = defaultPlayOutMs;
	// Pre-buffering gives up after this long without data.
	int prebufferWaitMs = defaultPrebufferWaitMs;
	// How long an answer of VLC may take to come.
	int answerTimeoutMs = defaultAnswerTimeoutMs;
};

// The timings in force; tests and the benchmark shorten them. Thread-safe; a
// thread that starts takes a copy and keeps it for its life.
EngineTimings engineTimings();
void setEngineTimings(const EngineTimings &timings);

#endif
