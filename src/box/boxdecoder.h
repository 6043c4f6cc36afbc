#ifndef BOX_BOXDECODER_H
#define BOX_BOXDECODER_H

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "box/audioconverter.h"
#include "box/picturestore.h"
#include "box/presentationclock.h"
#include "box/pvrfifo.h"
#include "box/tssyncmonitor.h"
#include "box/wakeevent.h"
#include "host/decoder.h"

struct AVFrame;
struct AVPacket;
class StreamDecoder;
class TsDemuxer;

// A piece of decoded sound: interleaved signed 16-bit samples.
struct AudioChunk
{
	const int16_t *samples = nullptr;
	int frames = 0;
	int channels = 0;
	int rate = 0;
};

// The box's MPEG decoder behind /dev/pvr. A thread reads the FIFO, demuxes the
// transport stream, keeps the video and audio PIDs that set() chose, decodes them
// and consumes the stream at its real-time rate by its timestamps, so a full FIFO
// pushes back on the feeder as the receiver's decoder does. Until the first set()
// it reads and drops what arrives, so a writer is never stuck.
//
// set, flush, pause and resume may come from any thread; set, flush and pause
// return once the decoder thread has carried them out. The hooks run on the
// decoder thread: they must return promptly (those calls wait for the thread) and
// must not call the control calls themselves.
class BoxDecoder : public DecoderBackend
{
public:
	// Fast consumes the stream as quickly as it decodes, for tests and benchmarks.
	enum class Pacing { realTime, fast };

	explicit BoxDecoder(Pacing pacing = Pacing::realTime);
	~BoxDecoder() override;
	BoxDecoder(const BoxDecoder &) = delete;
	BoxDecoder &operator=(const BoxDecoder &) = delete;

	// Makes and opens the FIFO at hostPath("/dev/pvr") and starts the decoder
	// thread. False with error() when the FIFO cannot be had.
	bool start();
	// Wakes every wait, ends the thread and closes the FIFO: a writer still blocked
	// in it gets EPIPE. Safe to call twice.
	void stop();
	const std::string &error() const { return m_error; }
	const std::string &fifoPath() const { return m_fifoPath; }

	// A new stream begins with these PIDs and audio type; it also ends a pause.
	void set(const decoderParameters &parms) override;
	// Drops everything read but not decoded, and what the FIFO holds now.
	void flush() override;
	// Stops reading and decoding; the FIFO fills and then blocks its writer. The last
	// picture stays.
	void pause() override;
	void resume() override;

	// What has been played, readable from any thread.
	uint64_t videoFrames() const { return m_videoFrames.load(); }
	uint64_t audioFrames() const { return m_audioFrames.load(); }
	uint64_t errors() const { return m_errors.load(); }
	uint64_t bytesRead() const { return m_bytesRead.load(); }
	decoderParameters parameters() const;
	bool isPaused() const { return m_paused.load(); }
	bool lastPicture(DecodedPicture &out) const { return m_pictures.last(out); }

	// Called on the decoder thread after each new picture (the box posts a repaint).
	// Once a setter returns, the previous hook or sink is no longer called.
	void setPictureHook(std::function<void()> hook);
	// Receives the decoded sound; without a sink the sound is dropped.
	using AudioSink = std::function<void(const AudioChunk &)>;
	void setAudioSink(AudioSink sink);

	// Waits until the decoder has taken everything written so far and waits for
	// more; false when the timeout passed first or the decoder is not running.
	bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
	enum class Wait { ready, interrupted, failed };

	void run();
	bool takeRequest();
	void closeStream();
	bool discardSome();
	bool playSome(AVPacket *packet, AVFrame *frame);
	void waitForChange();
	bool noteFailure();
	bool hold(std::unique_lock<std::mutex> &lock);
	Wait waitForData();
	int readStream(uint8_t *buffer, int size);
	void decodePacket(const AVPacket *packet, AVFrame *frame);
	StreamDecoder *decoderFor(const AVPacket *packet);
	bool present(StreamDecoder &decoder, AVFrame *frame);
	bool waitUntilDue(int64_t ptsUs);
	void requestAndWait(bool set, bool flush, const decoderParameters *parms);

	const Pacing m_pacing;
	std::string m_error;
	std::string m_fifoPath;
	PvrFifo m_fifo;
	WakeEvent m_wake;
	std::thread m_thread;

	// -- The fields below are protected by m_mutex; m_cv announces every change.
	mutable std::mutex m_mutex;
	std::condition_variable m_cv;
	bool m_running = false;
	bool m_stop = false;
	bool m_pauseRequested = false;
	bool m_parked = false;  // the thread is holding for a pause and reads nothing
	bool m_starved = false; // the thread waits for the FIFO, which was empty
	uint64_t m_requestSerial = 0;
	uint64_t m_doneSerial = 0;
	bool m_setPending = false;
	bool m_flushPending = false;
	decoderParameters m_pendingParms;
	decoderParameters m_parms; // as the last set() gave them

	// -- Decoder thread only (and start/stop while the thread is not running).
	bool m_configured = false;
	decoderParameters m_active;
	std::unique_ptr<TsDemuxer> m_demuxer;
	std::map<int, std::unique_ptr<StreamDecoder>> m_decoders; // by stream index
	TsSyncMonitor m_sync;
	PresentationClock m_clock;
	AudioConverter m_audio;
	std::vector<int16_t> m_samples;
	bool m_audioTypeWarned = false;
	bool m_interrupted = false;   // a stop or a request cut the current stream short
	uint64_t m_bytesAtFailure = 0; // bytesRead at the last failure, to tell progress

	// -- The hooks, protected by m_hookMutex, which is held while they run.
	std::mutex m_hookMutex;
	std::function<void()> m_pictureHook;
	AudioSink m_audioSink;

	std::atomic<uint64_t> m_videoFrames{0};
	std::atomic<uint64_t> m_audioFrames{0};
	std::atomic<uint64_t> m_errors{0};
	std::atomic<uint64_t> m_bytesRead{0};
	std::atomic<bool> m_paused{false};
	PictureStore m_pictures;
};

#endif
