#ifndef HOST_GCOLOR_H
#define HOST_GCOLOR_H

#include <cstdint>

#include "host/estring.h"

// A true-colour value. The receiver's skins name colours; on this platform a colour
// is its RGBA value (alpha 255 is opaque), so palette operations are no-ops.
struct gRGB
{
	uint8_t r = 0, g = 0, b = 0, a = 255;
	gRGB() = default;
	gRGB(uint8_t r_, uint8_t g_, uint8_t b_, uint8_t a_ = 255) : r(r_), g(g_), b(b_), a(a_) {}
	uint32_t argb() const { return (uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }
	bool operator==(const gRGB &) const = default;
};
using gColor = gRGB;

// A font as the skin names it: family and pixel size.
struct gFont
{
	eString family = "DejaVu Sans";
	int pointSize = 20;
	gFont() = default;
	gFont(const eString &f, int size) : family(f), pointSize(size) {}
	bool operator==(const gFont &) const = default;
};

#endif
