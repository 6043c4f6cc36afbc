#include "box/tsdemuxer.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

namespace
{
// The AVIO buffer: a few dozen packets, so a pause or a flush strands little.
constexpr int ioBufferSize = 188 * 64;
// The demuxer looks at this much before it returns from open; streams whose tables
// come later are added while reading.
constexpr int64_t probeBytes = 188 * 128;
} // namespace

TsDemuxer::TsDemuxer(Reader reader) : m_reader(std::move(reader))
{
}

TsDemuxer::~TsDemuxer()
{
	if (m_format)
		avformat_close_input(&m_format);
	if (m_io)
	{
		av_freep(&m_io->buffer);
		avio_context_free(&m_io);
	}
}

int TsDemuxer::readThunk(void *opaque, uint8_t *buffer, int size)
{
	return static_cast<TsDemuxer *>(opaque)->m_reader(buffer, size);
}

int TsDemuxer::open()
{
	const AVInputFormat *mpegts = av_find_input_format("mpegts");
	if (!mpegts)
		return AVERROR_DEMUXER_NOT_FOUND;
	auto *buffer = static_cast<unsigned char *>(av_malloc(ioBufferSize));
	if (!buffer)
		return AVERROR(ENOMEM);
	m_io = avio_alloc_context(buffer, ioBufferSize, 0, this, &TsDemuxer::readThunk, nullptr, nullptr);
	if (!m_io)
	{
		av_free(buffer);
		return AVERROR(ENOMEM);
	}
	m_io->seekable = 0;

	AVFormatContext *format = avformat_alloc_context();
	if (!format)
		return AVERROR(ENOMEM);
	format->pb = m_io;
	format->flags |= AVFMT_FLAG_CUSTOM_IO;
	format->probesize = probeBytes;
	// On failure avformat_open_input frees the context, but never a custom AVIO.
	int result = avformat_open_input(&format, nullptr, mpegts, nullptr);
	if (result < 0)
		return result;
	m_format = format;
	return 0;
}

int TsDemuxer::read(AVPacket *packet)
{
	if (!m_format)
		return AVERROR(EINVAL);
	return av_read_frame(m_format, packet);
}

const AVStream *TsDemuxer::stream(int index) const
{
	if (!m_format || index < 0 || unsigned(index) >= m_format->nb_streams)
		return nullptr;
	return m_format->streams[index];
}
