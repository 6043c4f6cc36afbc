#ifndef BOX_AUDIOCONVERTER_H
#define BOX_AUDIOCONVERTER_H

#include <cstdint>
#include <vector>

struct AVFrame;
struct SwrContext;

// Turns decoded audio frames into interleaved signed 16-bit samples at the frame's
// own rate and channel count, the form a sound device plays.
class AudioConverter
{
public:
	AudioConverter() = default;
	~AudioConverter();
	AudioConverter(const AudioConverter &) = delete;
	AudioConverter &operator=(const AudioConverter &) = delete;

	// Converts one frame into out (resized to frames * channels); false when the
	// frame's format cannot be converted.
	bool convert(const AVFrame *frame, std::vector<int16_t> &out, int &frames, int &channels, int &rate);

private:
	bool configure(const AVFrame *frame);

	SwrContext *m_resampler = nullptr;
	int m_format = -1;
	int m_rate = 0;
	uint64_t m_layoutMask = 0;
	int m_channels = 0;
};

#endif
