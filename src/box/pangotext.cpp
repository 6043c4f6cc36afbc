#include "box/pangotext.h"

#include <algorithm>

namespace PangoText
{
eString toUtf8(const eString &text)
{
	if (g_utf8_validate(text.data(), gssize(text.size()), nullptr))
		return text;
	eString out;
	out.reserve(text.size() * 2);
	for (unsigned char c : text)
	{
		if (c < 0x80)
			out += char(c);
		else
		{
			out += char(0xc0 | (c >> 6));
			out += char(0x80 | (c & 0x3f));
		}
	}
	return out;
}

void applyFontOptions(PangoContext *context)
{
	cairo_font_options_t *options = cairo_font_options_create();
	cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
	cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
	cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
	pango_cairo_context_set_font_options(context, options);
	cairo_font_options_destroy(options);
}

PangoFontDescription *describe(const gFont &font)
{
	PangoFontDescription *description = pango_font_description_from_string(font.family.c_str());
	// A size beyond any screen would only make pango work for nothing.
	int pixels = std::clamp(font.pointSize, 1, 400);
	pango_font_description_set_absolute_size(description, double(pixels) * PANGO_SCALE);
	return description;
}

PangoLayout *createLayout(cairo_t *cr, const eString &text, const gFont &font)
{
	PangoLayout *layout = pango_cairo_create_layout(cr);
	applyFontOptions(pango_layout_get_context(layout));
	pango_layout_context_changed(layout);
	PangoFontDescription *description = describe(font);
	pango_layout_set_font_description(layout, description);
	pango_font_description_free(description);
	eString utf8 = toUtf8(text);
	pango_layout_set_text(layout, utf8.data(), int(utf8.size()));
	return layout;
}
} // namespace PangoText
