#include "box/audioconverter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

AudioConverter::~AudioConverter()
{
	swr_free(&m_resampler);
}

bool AudioConverter::configure(const AVFrame *frame)
{
	const AVChannelLayout &layout = frame->ch_layout;
	uint64_t mask = layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
	if (m_resampler && m_format == frame->format && m_rate == frame->sample_rate && m_channels == layout.nb_channels &&
	    m_layoutMask == mask)
		return true;
	swr_free(&m_resampler);
	m_format = -1;
	if (layout.nb_channels <= 0 || layout.nb_channels > 8 || frame->sample_rate <= 0)
		return false;
	// This libswresample takes the layouts by non-const pointer; give it a copy.
	AVChannelLayout copy{};
	if (av_channel_layout_copy(&copy, &layout) < 0)
		return false;
	int result = swr_alloc_set_opts2(&m_resampler, &copy, AV_SAMPLE_FMT_S16, frame->sample_rate, &copy,
					 AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
	av_channel_layout_uninit(&copy);
	if (result < 0 || swr_init(m_resampler) < 0)
	{
		swr_free(&m_resampler);
		return false;
	}
	m_format = frame->format;
	m_rate = frame->sample_rate;
	m_channels = layout.nb_channels;
	m_layoutMask = mask;
	return true;
}

bool AudioConverter::convert(const AVFrame *frame, std::vector<int16_t> &out, int &frames, int &channels, int &rate)
{
	if (frame->nb_samples <= 0 || !configure(frame))
		return false;
	out.resize(size_t(frame->nb_samples) * m_channels);
	uint8_t *planes[1] = {reinterpret_cast<uint8_t *>(out.data())};
	int converted = swr_convert(m_resampler, planes, frame->nb_samples,
				    const_cast<const uint8_t **>(frame->extended_data), frame->nb_samples);
	if (converted < 0)
		return false;
	out.resize(size_t(converted) * m_channels);
	frames = converted;
	channels = m_channels;
	rate = m_rate;
	return true;
}
