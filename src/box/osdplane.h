#ifndef BOX_OSDPLANE_H
#define BOX_OSDPLANE_H

#include <cairo.h>

#include <cstdint>

// The on-screen display: a 720x576 ARGB picture of every shown widget, transparent
// where no widget draws, so the video plane shows through. GUI thread only.
class OsdPlane
{
public:
	OsdPlane();
	~OsdPlane();
	OsdPlane(const OsdPlane &) = delete;
	OsdPlane &operator=(const OsdPlane &) = delete;

	// Clears the plane and paints the widget tree into it, top-level widgets back to front.
	void repaint();
	// How many repaints have run, for tests and the log.
	uint64_t repaints() const { return m_repaints; }

	cairo_surface_t *surface() const { return m_surface; }

private:
	cairo_surface_t *m_surface;
	uint64_t m_repaints = 0;
};

#endif
