#ifndef HOST_GPIXMAP_H
#define HOST_GPIXMAP_H

#include <cstdint>
#include <vector>

#include "host/erect.h"
#include "host/estring.h"

// A picture in memory: 32-bit ARGB pixels (premultiplied alpha is not used; alpha
// 255 is opaque), row by row from the top left. `source` names the file it was
// loaded from, so snapshots and tests can say which picture a widget shows.
class gPixmap
{
public:
	gPixmap(eSize size) : m_size(size), m_pixels(size_t(size.w) * size.h, 0) {}
	const eSize &size() const { return m_size; }
	int width() const { return m_size.w; }
	int height() const { return m_size.h; }
	uint32_t *pixels() { return m_pixels.data(); }
	const uint32_t *pixels() const { return m_pixels.data(); }
	uint32_t &at(int x, int y) { return m_pixels[size_t(y) * m_size.w + x]; }
	uint32_t at(int x, int y) const { return m_pixels[size_t(y) * m_size.w + x]; }
	eString source;

private:
	eSize m_size;
	std::vector<uint32_t> m_pixels;
};

// Loads a PNG file (receiver paths go through hostPath first). Returns a new
// picture the caller owns, or null when the file is missing or not a readable PNG.
gPixmap *loadPNG(const char *filename);

#endif
