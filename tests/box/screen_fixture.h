#ifndef TESTS_BOX_SCREEN_FIXTURE_H
#define TESTS_BOX_SCREEN_FIXTURE_H

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

#include "box/pangomeasurer.h"
#include "host/erect.h"

struct ScreenFrame;
class gPixmap;

// What the screen's tests share: a small drawing surface, pixel reading, the
// staged box root with the pictures drawn at build time, and the comparison of a
// composed screen with a committed reference picture.
namespace ScreenTest
{
// An ARGB32 surface that frees itself.
struct Surface
{
	Surface(int w, int h);
	~Surface();
	Surface(const Surface &) = delete;
	Surface &operator=(const Surface &) = delete;
	cairo_surface_t *get() const { return surface; }
	// The pixel as 0xAARRGGBB with its colour taken back out of the premultiplied form.
	uint32_t at(int x, int y) const;
	// Fills the whole surface with an opaque colour.
	void fill(uint32_t rgb);

	cairo_surface_t *surface;
};

// True when some pixel of the area differs from colour (0xAARRGGBB).
bool inkIn(const Surface &s, const eRect &area, uint32_t colour);
bool inkIn(const ScreenFrame &f, const eRect &area, uint32_t colour);
// The columns where the area has pixels that differ from colour: first and last, or -1, -1.
std::pair<int, int> inkColumns(const Surface &s, const eRect &area, uint32_t colour);

// Whether two colours are within tolerance per channel.
bool near(uint32_t a, uint32_t b, int tolerance = 8);

// The build's staged box root (QUELT_BUILD_DIR/box-root), with the pictures.
std::string stagedRoot();
// A picture of the staged root, by receiver path; the test owns it.
std::unique_ptr<gPixmap> picture(const std::string &receiverPath);

// Compares frame with tests/box/reference/NAME.png: at most one pixel in 200 may
// differ by more than 40 in a channel (fonts may be drawn a shade differently).
// With QUELT_UPDATE_REFERENCES=1 in the environment the reference is written
// instead. Failures name the picture written beside it for a look.
void expectMatchesReference(const ScreenFrame &frame, const std::string &name);

// Installs the pango measurer for the test's lifetime, as the box does.
class MeasurerScope
{
public:
	MeasurerScope() { m_measurer.install(); }
	~MeasurerScope() { m_measurer.uninstall(); }

private:
	PangoMeasurer m_measurer;
};
} // namespace ScreenTest

#endif
