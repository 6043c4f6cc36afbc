#include "box/streamdecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

StreamDecoder::Kind StreamDecoder::kindOf(int codecId)
{
	switch (codecId)
	{
	case AV_CODEC_ID_MPEG1VIDEO:
	case AV_CODEC_ID_MPEG2VIDEO:
		return Kind::video;
	case AV_CODEC_ID_MP1:
	case AV_CODEC_ID_MP2:
	case AV_CODEC_ID_MP3:
	case AV_CODEC_ID_AC3:
		return Kind::audio;
	default:
		return Kind::unsupported;
	}
}

StreamDecoder::~StreamDecoder()
{
	avcodec_free_context(&m_context);
}

bool StreamDecoder::open(const AVStream *stream)
{
	avcodec_free_context(&m_context);
	m_codecId = stream->codecpar->codec_id;
	m_kind = kindOf(m_codecId);
	m_timeBaseNum = stream->time_base.num;
	m_timeBaseDen = stream->time_base.den;
	if (m_kind == Kind::unsupported)
		return false;
	const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
	if (!codec)
		return false;
	m_context = avcodec_alloc_context3(codec);
	if (!m_context)
		return false;
	if (avcodec_parameters_to_context(m_context, stream->codecpar) < 0)
	{
		avcodec_free_context(&m_context);
		return false;
	}
	m_context->pkt_timebase = stream->time_base;
	// One thread: the box's decoder thread is the only one that touches the codec,
	// and the receiver's pace leaves it idle most of the time anyway.
	m_context->thread_count = 1;
	if (avcodec_open2(m_context, codec, nullptr) < 0)
	{
		avcodec_free_context(&m_context);
		return false;
	}
	return true;
}

int StreamDecoder::send(const AVPacket *packet)
{
	if (!m_context)
		return AVERROR(EINVAL);
	return avcodec_send_packet(m_context, packet);
}

int StreamDecoder::receive(AVFrame *frame)
{
	if (!m_context)
		return AVERROR(EAGAIN);
	return avcodec_receive_frame(m_context, frame);
}
