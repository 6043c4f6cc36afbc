#include "mviencoder.h"

#include <cstdio>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace
{
struct Encoding
{
	AVCodecContext *context = nullptr;
	AVFrame *frame = nullptr;
	AVPacket *packet = nullptr;
	SwsContext *scaler = nullptr;
	~Encoding()
	{
		sws_freeContext(scaler);
		av_packet_free(&packet);
		av_frame_free(&frame);
		avcodec_free_context(&context);
	}
};

bool fail(const char *what)
{
	std::fprintf(stderr, "artwork: still picture: %s\n", what);
	return false;
}

bool collect(Encoding &e, std::vector<uint8_t> &out)
{
	int result;
	while ((result = avcodec_receive_packet(e.context, e.packet)) == 0)
	{
		out.insert(out.end(), e.packet->data, e.packet->data + e.packet->size);
		av_packet_unref(e.packet);
	}
	return result == AVERROR(EAGAIN) || result == AVERROR_EOF;
}
} // namespace

bool writeMvi(cairo_surface_t *picture, const std::string &path)
{
	av_log_set_level(AV_LOG_ERROR);
	cairo_surface_flush(picture);
	const int w = cairo_image_surface_get_width(picture), h = cairo_image_surface_get_height(picture);
	const AVCodec *codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
	if (!codec)
		return fail("no MPEG-2 video encoder");
	Encoding e;
	e.context = avcodec_alloc_context3(codec);
	e.frame = av_frame_alloc();
	e.packet = av_packet_alloc();
	if (!e.context || !e.frame || !e.packet)
		return fail("out of memory");
	e.context->width = w;
	e.context->height = h;
	e.context->pix_fmt = AV_PIX_FMT_YUV420P;
	e.context->time_base = AVRational{1, 25};
	e.context->framerate = AVRational{25, 1};
	// 720x576 shown at 4:3: each pixel is 16:15.
	e.context->sample_aspect_ratio = AVRational{16, 15};
	e.context->gop_size = 0;
	e.context->max_b_frames = 0;
	e.context->flags |= AV_CODEC_FLAG_QSCALE;
	e.context->global_quality = FF_QP2LAMBDA * 2;
	if (avcodec_open2(e.context, codec, nullptr) < 0)
		return fail("cannot open the MPEG-2 video encoder");

	e.frame->format = AV_PIX_FMT_YUV420P;
	e.frame->width = w;
	e.frame->height = h;
	e.frame->quality = e.context->global_quality;
	e.frame->pts = 0;
	if (av_frame_get_buffer(e.frame, 0) < 0)
		return fail("out of memory");
	e.scaler = sws_getContext(w, h, AV_PIX_FMT_RGB32, w, h, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
	if (!e.scaler)
		return fail("cannot convert the picture");
	const uint8_t *planes[1] = {cairo_image_surface_get_data(picture)};
	const int strides[1] = {cairo_image_surface_get_stride(picture)};
	sws_scale(e.scaler, planes, strides, 0, h, e.frame->data, e.frame->linesize);

	std::vector<uint8_t> stream;
	if (avcodec_send_frame(e.context, e.frame) < 0 || !collect(e, stream) || avcodec_send_frame(e.context, nullptr) < 0 ||
		!collect(e, stream) || stream.empty())
		return fail("the encoder made no picture");
	const uint8_t sequenceEnd[4] = {0x00, 0x00, 0x01, 0xb7};
	stream.insert(stream.end(), sequenceEnd, sequenceEnd + 4);

	FILE *file = std::fopen(path.c_str(), "wb");
	if (!file)
		return fail(("cannot write " + path).c_str());
	bool ok = std::fwrite(stream.data(), 1, stream.size(), file) == stream.size();
	ok = std::fclose(file) == 0 && ok;
	return ok || fail(("cannot write " + path).c_str());
}
