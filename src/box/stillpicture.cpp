#include "box/stillpicture.h"

#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

namespace
{
// Frees what decode() made, on every way out.
struct Decoding
{
	AVCodecParserContext *parser = nullptr;
	AVCodecContext *context = nullptr;
	AVPacket *packet = nullptr;
	AVFrame *frame = nullptr;
	~Decoding()
	{
		av_frame_free(&frame);
		av_packet_free(&packet);
		avcodec_free_context(&context);
		if (parser)
			av_parser_close(parser);
	}
};

// Takes every picture the decoder has ready; the last one wins.
void drain(Decoding &d, PictureStore &store, bool &got)
{
	while (avcodec_receive_frame(d.context, d.frame) == 0)
	{
		if (store.store(d.frame))
			got = true;
		av_frame_unref(d.frame);
	}
}
} // namespace

namespace StillPicture
{
bool decode(const uint8_t *data, size_t size, DecodedPicture &out, std::string &error)
{
	static std::once_flag once;
	// A damaged file is reported here once; the library's own lines add nothing.
	std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });

	if (!data || size == 0)
	{
		error = "empty picture";
		return false;
	}
	if (size > maxBytes)
	{
		error = "too large for a still picture";
		return false;
	}
	const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_MPEG2VIDEO);
	Decoding d;
	d.parser = av_parser_init(AV_CODEC_ID_MPEG2VIDEO);
	d.context = codec ? avcodec_alloc_context3(codec) : nullptr;
	d.packet = av_packet_alloc();
	d.frame = av_frame_alloc();
	if (!codec || !d.parser || !d.context || !d.packet || !d.frame || avcodec_open2(d.context, codec, nullptr) < 0)
	{
		error = "no MPEG video decoder";
		return false;
	}

	// The parser wants padding after its input; the bytes are copied once into a
	// buffer that has it.
	std::string buffer(reinterpret_cast<const char *>(data), size);
	buffer.append(AV_INPUT_BUFFER_PADDING_SIZE, '\0');
	const uint8_t *in = reinterpret_cast<const uint8_t *>(buffer.data());
	size_t left = size;
	PictureStore store;
	bool got = false;
	// An empty call after the input flushes the parser's last picture out.
	bool flushed = false;
	while (!flushed)
	{
		flushed = left == 0;
		int used = av_parser_parse2(d.parser, d.context, &d.packet->data, &d.packet->size, in, int(left),
			AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
		// A parser that takes nothing and gives nothing would never get through.
		if (used < 0 || (used == 0 && left > 0 && d.packet->size == 0))
			break;
		in += used;
		left -= size_t(used);
		if (d.packet->size > 0 && avcodec_send_packet(d.context, d.packet) >= 0)
			drain(d, store, got);
	}
	// The decoder holds a picture back until it knows the next; the end lets it go.
	if (avcodec_send_packet(d.context, nullptr) >= 0)
		drain(d, store, got);
	if (!got || !store.last(out))
	{
		error = "no MPEG picture in the data";
		return false;
	}
	return true;
}
} // namespace StillPicture
