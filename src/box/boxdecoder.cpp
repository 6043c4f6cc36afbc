#include "box/boxdecoder.h"

#include <errno.h>
#include <poll.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

#include "box/streamdecoder.h"
#include "box/tsdemuxer.h"
#include "host/log.h"
#include "host/paths.h"

namespace
{
void quietLibraryLog()
{
	static std::once_flag once;
	// The decoder counts damage itself; the library's line for every damaged packet
	// would bury the box's own log when a stream goes bad.
	std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

bool audioTypeFits(int audioType, int codecId)
{
	bool ac3 = codecId == AV_CODEC_ID_AC3;
	return audioType == 0 ? !ac3 : ac3;
}
} // namespace

BoxDecoder::BoxDecoder(Pacing pacing) : m_pacing(pacing)
{
}

BoxDecoder::~BoxDecoder()
{
	stop();
}

bool BoxDecoder::start()
{
	if (m_thread.joinable())
		return true;
	quietLibraryLog();
	m_fifoPath = hostPath("/dev/pvr");
	if (!m_fifo.open(m_fifoPath))
	{
		m_error = m_fifo.error();
		eWarning("[box] decoder: %s", m_error.c_str());
		return false;
	}
	if (!m_wake.open())
	{
		m_error = "cannot make the decoder's wake-up descriptor";
		m_fifo.close();
		return false;
	}
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_running = true;
		m_stop = false;
	}
	m_thread = std::thread(&BoxDecoder::run, this);
	return true;
}

void BoxDecoder::stop()
{
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		m_stop = true;
		if (m_running)
			m_wake.notify();
		m_cv.notify_all();
	}
	if (m_thread.joinable())
		m_thread.join();
	m_fifo.close();
	m_wake.close();
}

void BoxDecoder::set(const decoderParameters &parms)
{
	requestAndWait(true, false, &parms);
}

void BoxDecoder::flush()
{
	requestAndWait(false, true, nullptr);
}

void BoxDecoder::requestAndWait(bool set, bool flush, const decoderParameters *parms)
{
	std::unique_lock<std::mutex> lock(m_mutex);
	if (set)
	{
		m_parms = m_pendingParms = *parms;
		m_setPending = true;
		// A new stream is never born paused, as the receiver's Set does.
		m_pauseRequested = false;
		m_paused = false;
	}
	if (flush)
		m_flushPending = true;
	uint64_t serial = ++m_requestSerial;
	m_cv.notify_all();
	if (!m_running)
		return;
	m_wake.notify();
	m_cv.wait(lock, [&] { return m_doneSerial >= serial || !m_running; });
}

void BoxDecoder::pause()
{
	std::unique_lock<std::mutex> lock(m_mutex);
	m_pauseRequested = true;
	m_paused = true;
	m_cv.notify_all();
	if (!m_running)
		return;
	m_wake.notify();
	m_cv.wait(lock, [&] { return m_parked || !m_pauseRequested || !m_running; });
}

void BoxDecoder::resume()
{
	std::lock_guard<std::mutex> lock(m_mutex);
	m_pauseRequested = false;
	m_paused = false;
	m_cv.notify_all();
}

decoderParameters BoxDecoder::parameters() const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	return m_parms;
}

void BoxDecoder::setPictureHook(std::function<void()> hook)
{
	std::lock_guard<std::mutex> lock(m_hookMutex);
	m_pictureHook = std::move(hook);
}

void BoxDecoder::setAudioSink(AudioSink sink)
{
	std::lock_guard<std::mutex> lock(m_hookMutex);
	m_audioSink = std::move(sink);
}

bool BoxDecoder::waitUntilIdle(std::chrono::milliseconds timeout)
{
	std::unique_lock<std::mutex> lock(m_mutex);
	bool idle = m_cv.wait_for(lock, timeout, [&] { return !m_running || (m_starved && m_fifo.pending() == 0); });
	return idle && m_running;
}

// -- The decoder thread from here on.

void BoxDecoder::run()
{
	AVPacket *packet = av_packet_alloc();
	AVFrame *frame = av_frame_alloc();
	for (;;)
	{
		{
			std::lock_guard<std::mutex> lock(m_mutex);
			if (m_stop)
				break;
		}
		if (takeRequest())
			continue;
		bool progress = !m_configured ? discardSome() : packet && frame && playSome(packet, frame);
		if (!progress)
			waitForChange();
	}
	closeStream();
	av_packet_free(&packet);
	av_frame_free(&frame);
	std::lock_guard<std::mutex> lock(m_mutex);
	m_running = false;
	m_parked = false;
	m_starved = false;
	m_cv.notify_all();
}

bool BoxDecoder::takeRequest()
{
	bool set = false, flush = false;
	decoderParameters parms;
	uint64_t serial = 0;
	{
		std::lock_guard<std::mutex> lock(m_mutex);
		if (m_requestSerial == m_doneSerial)
			return false;
		set = m_setPending;
		flush = m_flushPending;
		parms = m_pendingParms;
		serial = m_requestSerial;
		m_setPending = m_flushPending = false;
	}
	closeStream();
	if (flush)
		m_bytesRead += m_fifo.drain();
	if (set)
	{
		m_active = parms;
		m_configured = true;
		m_audioTypeWarned = false;
	}
	std::lock_guard<std::mutex> lock(m_mutex);
	m_doneSerial = serial;
	m_cv.notify_all();
	return true;
}

void BoxDecoder::closeStream()
{
	m_decoders.clear();
	m_demuxer.reset();
	m_sync.reset();
	m_clock.reset();
	m_interrupted = false;
}

bool BoxDecoder::noteFailure()
{
	++m_errors;
	// A failure after fresh input is the stream's; another one without input in
	// between is the box's, and retrying it at once would only spin.
	uint64_t read = m_bytesRead.load();
	bool progress = read != m_bytesAtFailure;
	m_bytesAtFailure = read;
	return progress;
}

void BoxDecoder::waitForChange()
{
	std::unique_lock<std::mutex> lock(m_mutex);
	// Nothing is read until a new stream or a stop, so a pause is already in effect.
	m_parked = true;
	m_cv.notify_all();
	m_cv.wait(lock, [&] { return m_stop || m_requestSerial != m_doneSerial; });
	m_parked = false;
}

bool BoxDecoder::hold(std::unique_lock<std::mutex> &lock)
{
	bool held = false;
	while (!m_stop && m_pauseRequested && m_requestSerial == m_doneSerial)
	{
		if (!m_parked)
		{
			m_parked = true;
			m_cv.notify_all();
		}
		held = true;
		m_cv.wait(lock);
	}
	m_parked = false;
	// After a pause the stream goes on from its next frame, not from where the
	// wall clock has got to meanwhile.
	if (held)
		m_clock.reset();
	bool carryOn = !m_stop && m_requestSerial == m_doneSerial;
	if (!carryOn)
		m_interrupted = true;
	return carryOn;
}

BoxDecoder::Wait BoxDecoder::waitForData()
{
	for (;;)
	{
		{
			std::unique_lock<std::mutex> lock(m_mutex);
			if (!hold(lock))
				return Wait::interrupted;
		}
		pollfd fds[2] = {{m_fifo.readFd(), POLLIN, 0}, {m_wake.fd(), POLLIN, 0}};
		int ready = poll(fds, 2, 0);
		if (ready == 0)
		{
			{
				std::lock_guard<std::mutex> lock(m_mutex);
				m_starved = true;
				m_cv.notify_all();
			}
			ready = poll(fds, 2, -1);
			std::lock_guard<std::mutex> lock(m_mutex);
			m_starved = false;
		}
		if (ready < 0)
		{
			if (errno == EINTR)
				continue;
			return Wait::failed;
		}
		if (fds[1].revents)
		{
			m_wake.clear();
			continue;
		}
		if (fds[0].revents)
			return Wait::ready;
	}
}

bool BoxDecoder::discardSome()
{
	Wait wait = waitForData();
	if (wait == Wait::interrupted)
		return true;
	uint8_t buffer[16384];
	ssize_t n = wait == Wait::ready ? m_fifo.readSome(buffer, sizeof buffer) : -1;
	if (n < 0)
		return noteFailure();
	m_bytesRead += uint64_t(n);
	return true;
}

int BoxDecoder::readStream(uint8_t *buffer, int size)
{
	for (;;)
	{
		Wait wait = waitForData();
		if (wait == Wait::interrupted)
			return AVERROR_EXIT;
		ssize_t n = wait == Wait::ready ? m_fifo.readSome(buffer, size_t(size)) : -1;
		if (n < 0)
			return AVERROR(EIO);
		if (n == 0)
			continue;
		m_bytesRead += uint64_t(n);
		m_errors += m_sync.feed(buffer, size_t(n));
		return int(n);
	}
}

bool BoxDecoder::playSome(AVPacket *packet, AVFrame *frame)
{
	if (!m_demuxer)
	{
		auto demuxer = std::make_unique<TsDemuxer>([this](uint8_t *buffer, int size) { return readStream(buffer, size); });
		int result = demuxer->open();
		if (result < 0)
		{
			bool interrupted = m_interrupted;
			closeStream();
			return interrupted || noteFailure();
		}
		m_demuxer = std::move(demuxer);
	}
	int result = m_demuxer->read(packet);
	if (result < 0)
	{
		bool interrupted = m_interrupted;
		closeStream();
		return interrupted || noteFailure();
	}
	decodePacket(packet, frame);
	av_packet_unref(packet);
	return true;
}

StreamDecoder *BoxDecoder::decoderFor(const AVPacket *packet)
{
	const AVStream *stream = m_demuxer->stream(packet->stream_index);
	if (!stream || stream->id < 0 || (stream->id != m_active.vpid && stream->id != m_active.apid))
		return nullptr;
	std::unique_ptr<StreamDecoder> &decoder = m_decoders[packet->stream_index];
	if (decoder && decoder->codecId() == stream->codecpar->codec_id)
		return decoder->isOpen() ? decoder.get() : nullptr;

	if (!decoder)
		decoder = std::make_unique<StreamDecoder>();
	if (!decoder->open(stream))
	{
		++m_errors;
		eWarning("[box] decoder: PID 0x%x carries %s, which the receiver cannot decode", stream->id,
			 avcodec_get_name(stream->codecpar->codec_id));
		return nullptr;
	}
	if (decoder->kind() == StreamDecoder::Kind::audio && !audioTypeFits(m_active.audio_type, decoder->codecId()) &&
	    !m_audioTypeWarned)
	{
		// Played anyway: the box shows what went wrong instead of staying silent.
		m_audioTypeWarned = true;
		eWarning("[box] decoder: audio type %d set, but PID 0x%x carries %s", m_active.audio_type, stream->id,
			 avcodec_get_name(stream->codecpar->codec_id));
	}
	return decoder.get();
}

void BoxDecoder::decodePacket(const AVPacket *packet, AVFrame *frame)
{
	StreamDecoder *decoder = decoderFor(packet);
	if (!decoder)
		return;
	if (packet->flags & AV_PKT_FLAG_CORRUPT)
		++m_errors;
	if (decoder->send(packet) < 0)
	{
		++m_errors;
		return;
	}
	int result = 0;
	while ((result = decoder->receive(frame)) == 0)
	{
		if (frame->decode_error_flags || (frame->flags & AV_FRAME_FLAG_CORRUPT))
			++m_errors;
		bool carryOn = present(*decoder, frame);
		av_frame_unref(frame);
		if (!carryOn)
			return;
	}
	if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
		++m_errors;
}

bool BoxDecoder::present(StreamDecoder &decoder, AVFrame *frame)
{
	int64_t stamp = frame->best_effort_timestamp;
	int64_t ptsUs = AV_NOPTS_VALUE;
	if (stamp != AV_NOPTS_VALUE && decoder.timeBaseNum() > 0 && decoder.timeBaseDen() > 0)
		ptsUs = av_rescale_q(stamp, AVRational{decoder.timeBaseNum(), decoder.timeBaseDen()}, AVRational{1, 1000000});
	if (!waitUntilDue(ptsUs))
		return false;

	std::lock_guard<std::mutex> lock(m_hookMutex);
	if (decoder.kind() == StreamDecoder::Kind::video)
	{
		if (!m_pictures.store(frame))
		{
			++m_errors;
			return true;
		}
		++m_videoFrames;
		if (m_pictureHook)
			m_pictureHook();
		return true;
	}
	AudioChunk chunk;
	bool converted = m_audioSink && m_audio.convert(frame, m_samples, chunk.frames, chunk.channels, chunk.rate);
	++m_audioFrames;
	if (converted)
	{
		chunk.samples = m_samples.data();
		m_audioSink(chunk);
	}
	return true;
}

bool BoxDecoder::waitUntilDue(int64_t ptsUs)
{
	std::unique_lock<std::mutex> lock(m_mutex);
	for (;;)
	{
		if (!hold(lock))
			return false;
		if (m_pacing == Pacing::fast || ptsUs == AV_NOPTS_VALUE)
			return true;
		auto now = std::chrono::steady_clock::now();
		auto due = m_clock.due(ptsUs, now);
		if (due <= now)
			return true;
		m_cv.wait_until(lock, due);
	}
}
