#include "box/compositor.h"

#include "box/osdplane.h"
#include "box/videoplane.h"
#include "host/gpainter.h"

Compositor::Compositor()
{
	m_frame.width = kScreenWidth;
	m_frame.height = kScreenHeight;
	m_frame.argb.assign(size_t(kScreenWidth) * kScreenHeight, 0xff000000u);
	m_surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char *>(m_frame.argb.data()),
		CAIRO_FORMAT_ARGB32, kScreenWidth, kScreenHeight, kScreenWidth * 4);
}

Compositor::~Compositor()
{
	cairo_surface_destroy(m_surface);
}

const ScreenFrame &Compositor::compose(VideoPlane &video, const OsdPlane &osd)
{
	cairo_t *cr = cairo_create(m_surface);
	video.render(cr);
	cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
	cairo_set_source_surface(cr, osd.surface(), 0, 0);
	cairo_paint(cr);
	cairo_destroy(cr);
	cairo_surface_flush(m_surface);
	return m_frame;
}
