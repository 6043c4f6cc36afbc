#ifndef BOX_COMPOSITOR_H
#define BOX_COMPOSITOR_H

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class OsdPlane;
class VideoPlane;

// The screen as the viewer sees it: the on-screen display over the video plane,
// 720x576 opaque pixels, 32-bit 0xAARRGGBB words row by row.
struct ScreenFrame
{
	int width = 0;
	int height = 0;
	std::vector<uint32_t> argb;

	uint32_t at(int x, int y) const { return argb[size_t(y) * width + x]; }
};

// Composes the two planes into a frame. GUI thread only.
class Compositor
{
public:
	Compositor();
	~Compositor();
	Compositor(const Compositor &) = delete;
	Compositor &operator=(const Compositor &) = delete;

	// Draws the video plane, then the OSD over it, into the compositor's frame.
	const ScreenFrame &compose(VideoPlane &video, const OsdPlane &osd);
	const ScreenFrame &frame() const { return m_frame; }

private:
	ScreenFrame m_frame;
	cairo_surface_t *m_surface; // draws straight into m_frame's pixels
};

#endif
