#ifndef BOX_TSDEMUXER_H
#define BOX_TSDEMUXER_H

#include <cstdint>
#include <functional>

struct AVFormatContext;
struct AVIOContext;
struct AVPacket;
struct AVStream;

// libavformat's transport-stream demuxer on bytes that a reader function supplies,
// without seeking and without a probe of the whole stream: streams appear as their
// program tables arrive, each with its PID as AVStream::id.
class TsDemuxer
{
public:
	// Fills buffer with up to size bytes and returns the count, or a negative
	// AVERROR. It may block; AVERROR_EXIT abandons the stream at once.
	using Reader = std::function<int(uint8_t *buffer, int size)>;

	explicit TsDemuxer(Reader reader);
	~TsDemuxer();
	TsDemuxer(const TsDemuxer &) = delete;
	TsDemuxer &operator=(const TsDemuxer &) = delete;

	// Reads the start of the stream; 0 or a negative AVERROR.
	int open();
	// The next packet of any stream; 0 or a negative AVERROR.
	int read(AVPacket *packet);
	// The stream a packet belongs to, or null.
	const AVStream *stream(int index) const;

private:
	static int readThunk(void *opaque, uint8_t *buffer, int size);

	Reader m_reader;
	AVIOContext *m_io = nullptr;
	AVFormatContext *m_format = nullptr;
};

#endif
