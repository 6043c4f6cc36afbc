#ifndef BOX_STREAMDECODER_H
#define BOX_STREAMDECODER_H

#include <cstdint>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

// One elementary stream's libavcodec decoder, limited to what the receiver's
// hardware decodes: MPEG-1/2 video, MPEG audio layers 1 to 3, AC3.
class StreamDecoder
{
public:
	enum class Kind { video, audio, unsupported };
	// What the receiver makes of a codec (an AVCodecID).
	static Kind kindOf(int codecId);

	StreamDecoder() = default;
	~StreamDecoder();
	StreamDecoder(const StreamDecoder &) = delete;
	StreamDecoder &operator=(const StreamDecoder &) = delete;

	// Opens a decoder for the stream's codec; false when the receiver does not
	// decode it or libavcodec cannot open it. The codec is remembered either way.
	bool open(const AVStream *stream);
	bool isOpen() const { return m_context != nullptr; }
	int codecId() const { return m_codecId; }
	Kind kind() const { return m_kind; }
	// The stream's time base, for the stamps of the frames that come out.
	int timeBaseNum() const { return m_timeBaseNum; }
	int timeBaseDen() const { return m_timeBaseDen; }

	// Feeds a packet: 0, or a negative AVERROR for a packet it rejects.
	int send(const AVPacket *packet);
	// Takes the next decoded frame: 0 with one, AVERROR(EAGAIN) when it needs more
	// input, another negative AVERROR for a damaged frame.
	int receive(AVFrame *frame);

private:
	AVCodecContext *m_context = nullptr;
	int m_codecId = 0;
	Kind m_kind = Kind::unsupported;
	int m_timeBaseNum = 1;
	int m_timeBaseDen = 90000;
};

#endif
