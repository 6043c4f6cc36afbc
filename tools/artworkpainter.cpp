#include "artworkpainter.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace
{
PangoLayout *layoutFor(cairo_t *cr, const std::string &text, const std::string &font, double size)
{
	PangoLayout *layout = pango_cairo_create_layout(cr);
	cairo_font_options_t *options = cairo_font_options_create();
	cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
	cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
	cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
	pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
	cairo_font_options_destroy(options);
	pango_layout_context_changed(layout);
	PangoFontDescription *description = pango_font_description_from_string(font.c_str());
	pango_font_description_set_absolute_size(description, size * PANGO_SCALE);
	pango_layout_set_font_description(layout, description);
	pango_font_description_free(description);
	pango_layout_set_text(layout, text.c_str(), int(text.size()));
	return layout;
}
} // namespace

ArtworkPainter::ArtworkPainter(int width, int height)
	: m_width(width), m_height(height), m_surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
	  m_cr(cairo_create(m_surface))
{
}

ArtworkPainter::~ArtworkPainter()
{
	cairo_destroy(m_cr);
	cairo_surface_destroy(m_surface);
}

bool ArtworkPainter::writePng(const std::string &path) const
{
	cairo_surface_flush(m_surface);
	cairo_status_t status = cairo_surface_write_to_png(m_surface, path.c_str());
	if (status != CAIRO_STATUS_SUCCESS)
	{
		std::fprintf(stderr, "artwork: cannot write %s: %s\n", path.c_str(), cairo_status_to_string(status));
		return false;
	}
	return true;
}

void ArtworkPainter::setColor(unsigned rgb, double alpha)
{
	cairo_set_source_rgba(m_cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha);
}

void ArtworkPainter::roundedRect(double x, double y, double w, double h, double r)
{
	const double quarter = std::numbers::pi / 2;
	cairo_new_sub_path(m_cr);
	cairo_arc(m_cr, x + w - r, y + r, r, -quarter, 0);
	cairo_arc(m_cr, x + w - r, y + h - r, r, 0, quarter);
	cairo_arc(m_cr, x + r, y + h - r, r, quarter, 2 * quarter);
	cairo_arc(m_cr, x + r, y + r, r, 2 * quarter, 3 * quarter);
	cairo_close_path(m_cr);
}

void ArtworkPainter::centredText(const std::string &text, const std::string &font, double size, double cx, double cy)
{
	PangoLayout *layout = layoutFor(m_cr, text, font, size);
	PangoRectangle ink, logical;
	pango_layout_get_pixel_extents(layout, &ink, &logical);
	// Centred by the ink, not the line box: small icon letters must sit in the middle.
	cairo_move_to(m_cr, cx - ink.x - ink.width / 2.0, cy - ink.y - ink.height / 2.0);
	pango_cairo_show_layout(m_cr, layout);
	g_object_unref(layout);
}

void ArtworkPainter::text(const std::string &text, const std::string &font, double size, double x, double y)
{
	PangoLayout *layout = layoutFor(m_cr, text, font, size);
	cairo_move_to(m_cr, x, y);
	pango_cairo_show_layout(m_cr, layout);
	g_object_unref(layout);
}
