#ifndef BOX_PICTURESTORE_H
#define BOX_PICTURESTORE_H

#include <cstdint>
#include <mutex>
#include <vector>

struct AVFrame;
struct SwsContext;

// A decoded picture as the screen and the snapshots take it: 32-bit ARGB pixels
// (alpha 255), row by row from the top left, at the size the stream was coded in.
// The aspect is the display aspect ratio (4:3, 16:9, ...), reduced.
struct DecodedPicture
{
	int width = 0;
	int height = 0;
	int aspectNum = 0;
	int aspectDen = 0;
	std::vector<uint32_t> argb;
	// Counts the pictures stored so far, so a reader can tell a new one.
	uint64_t serial = 0;
};

// Keeps the last decoded picture. The decoder thread stores; any thread copies.
class PictureStore
{
public:
	PictureStore() = default;
	~PictureStore();
	PictureStore(const PictureStore &) = delete;
	PictureStore &operator=(const PictureStore &) = delete;

	// Converts a decoded video frame and keeps it; false when it cannot be converted.
	// Decoder thread only.
	bool store(const AVFrame *frame);
	// A copy of the last picture; false when there is none yet.
	bool last(DecodedPicture &out) const;

private:
	// -- Decoder thread only.
	SwsContext *m_scaler = nullptr;
	std::vector<uint32_t> m_scratch;

	// -- Protected by m_mutex.
	mutable std::mutex m_mutex;
	DecodedPicture m_last;
};

#endif
