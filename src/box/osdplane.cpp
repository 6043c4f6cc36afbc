#include "box/osdplane.h"

#include "box/cairopainter.h"
#include "host/ewidget.h"

OsdPlane::OsdPlane() : m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kScreenWidth, kScreenHeight))
{
}

OsdPlane::~OsdPlane()
{
	cairo_surface_destroy(m_surface);
}

void OsdPlane::repaint()
{
	// Every widget is painted again each time: the tree is small, and a full pass
	// can never leave a stale piece of a window that moved or went away.
	cairo_t *cr = cairo_create(m_surface);
	cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
	cairo_paint(cr);
	cairo_destroy(cr);
	CairoPainter painter(m_surface);
	eWidget::redrawScreen(painter);
	++m_repaints;
}
