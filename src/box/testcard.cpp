#include "box/testcard.h"

#include <numbers>

#include "box/pangotext.h"
#include "host/gpainter.h"

namespace
{
void centredText(cairo_t *cr, const eString &text, int size, double y)
{
	PangoLayout *layout = PangoText::createLayout(cr, text, gFont("DejaVu Sans Bold", size));
	PangoRectangle logical;
	pango_layout_get_pixel_extents(layout, nullptr, &logical);
	cairo_move_to(cr, (kScreenWidth - logical.width) / 2.0, y - logical.height / 2.0);
	pango_cairo_show_layout(cr, layout);
	g_object_unref(layout);
}
} // namespace

namespace TestCard
{
void draw(cairo_t *cr, const eString &serviceName)
{
	const double w = kScreenWidth, h = kScreenHeight;
	cairo_save(cr);
	cairo_set_source_rgb(cr, 0.35, 0.35, 0.37);
	cairo_paint(cr);

	// A grid for judging geometry, as broadcast cards have.
	cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
	cairo_set_line_width(cr, 2);
	for (double x = 40; x < w; x += 80)
	{
		cairo_move_to(cr, x, 0);
		cairo_line_to(cr, x, h);
	}
	for (double y = 48; y < h; y += 80)
	{
		cairo_move_to(cr, 0, y);
		cairo_line_to(cr, w, y);
	}
	cairo_stroke(cr);

	// 75 % colour bars in the broadcast order, then a grey scale below them.
	static const double bars[8][3] = {{0.75, 0.75, 0.75}, {0.75, 0.75, 0}, {0, 0.75, 0.75}, {0, 0.75, 0},
		{0.75, 0, 0.75}, {0.75, 0, 0}, {0, 0, 0.75}, {0, 0, 0}};
	const double barTop = 168, barHeight = 160, barWidth = 480.0 / 8, left = 120;
	for (int i = 0; i < 8; ++i)
	{
		cairo_set_source_rgb(cr, bars[i][0], bars[i][1], bars[i][2]);
		cairo_rectangle(cr, left + i * barWidth, barTop, barWidth, barHeight);
		cairo_fill(cr);
	}
	for (int i = 0; i < 6; ++i)
	{
		double v = i / 5.0;
		cairo_set_source_rgb(cr, v, v, v);
		cairo_rectangle(cr, left + i * 80, barTop + barHeight, 80, 48);
		cairo_fill(cr);
	}

	cairo_set_source_rgb(cr, 1, 1, 1);
	cairo_set_line_width(cr, 4);
	cairo_arc(cr, w / 2, h / 2, 230, 0, 2 * std::numbers::pi);
	cairo_stroke(cr);

	cairo_set_source_rgb(cr, 0.05, 0.05, 0.1);
	cairo_rectangle(cr, 200, 92, 320, 56);
	cairo_fill(cr);
	cairo_set_source_rgb(cr, 1, 1, 1);
	centredText(cr, "quelt-box", 34, 120);

	cairo_set_source_rgb(cr, 0.05, 0.05, 0.1);
	cairo_rectangle(cr, 200, 396, 320, 56);
	cairo_fill(cr);
	cairo_set_source_rgb(cr, 1, 1, 1);
	centredText(cr, serviceName.empty() ? eString("Live TV") : serviceName, 28, 424);
	cairo_restore(cr);
}
} // namespace TestCard
