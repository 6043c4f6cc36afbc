#include "box/picturestore.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/rational.h>
#include <libswscale/swscale.h>
}

PictureStore::~PictureStore()
{
	sws_freeContext(m_scaler);
}

bool PictureStore::store(const AVFrame *frame)
{
	const int w = frame->width, h = frame->height;
	// Larger than any broadcast picture by far; a damaged header must not make the
	// box allocate gigabytes.
	if (w <= 0 || h <= 0 || w > 4096 || h > 4096)
		return false;
	m_scaler = sws_getCachedContext(m_scaler, w, h, AVPixelFormat(frame->format), w, h, AV_PIX_FMT_RGB32,
					SWS_BILINEAR, nullptr, nullptr, nullptr);
	if (!m_scaler)
		return false;
	m_scratch.resize(size_t(w) * h);
	uint8_t *planes[4] = {reinterpret_cast<uint8_t *>(m_scratch.data()), nullptr, nullptr, nullptr};
	int strides[4] = {w * 4, 0, 0, 0};
	if (sws_scale(m_scaler, frame->data, frame->linesize, 0, h, planes, strides) != h)
		return false;

	AVRational sar = frame->sample_aspect_ratio;
	if (sar.num <= 0 || sar.den <= 0)
		sar = AVRational{1, 1};
	int aspectNum = 0, aspectDen = 0;
	av_reduce(&aspectNum, &aspectDen, int64_t(sar.num) * w, int64_t(sar.den) * h, 1 << 16);

	std::lock_guard<std::mutex> lock(m_mutex);
	m_last.width = w;
	m_last.height = h;
	m_last.aspectNum = aspectNum;
	m_last.aspectDen = aspectDen;
	// Swapping hands the old pixels back as the next scratch buffer.
	m_last.argb.swap(m_scratch);
	++m_last.serial;
	return true;
}

bool PictureStore::last(DecodedPicture &out) const
{
	std::lock_guard<std::mutex> lock(m_mutex);
	if (m_last.serial == 0)
		return false;
	out = m_last;
	return true;
}
