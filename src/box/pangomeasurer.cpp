#include "box/pangomeasurer.h"

#include "box/pangotext.h"

PangoMeasurer::PangoMeasurer()
{
	// Measuring needs a context but never draws: a one-pixel surface serves.
	m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
	m_cr = cairo_create(m_surface);
}

PangoMeasurer::~PangoMeasurer()
{
	uninstall();
	cairo_destroy(m_cr);
	cairo_surface_destroy(m_surface);
}

void PangoMeasurer::uninstall() const
{
	if (&TextMeasurer::active() == this)
		TextMeasurer::setActive(nullptr);
}

eSize PangoMeasurer::measure(const eString &line, const gFont &font) const
{
	PangoLayout *layout = PangoText::createLayout(m_cr, line, font);
	PangoRectangle logical;
	pango_layout_get_pixel_extents(layout, nullptr, &logical);
	g_object_unref(layout);
	return eSize(logical.width, logical.height);
}
