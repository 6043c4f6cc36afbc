#include "box/cairopainter.h"

#include <algorithm>
#include <vector>

#include "box/pangotext.h"
#include "host/gpixmap.h"

namespace
{
// The painter draws into a cairo surface rather than a gPixmap, so its device is
// only a name: the clip area is always given explicitly.
gPixmapDC surfaceDevice(nullptr);

eRect surfaceRect(cairo_surface_t *surface)
{
	return eRect(0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
}

uint32_t premultiply(uint32_t argb)
{
	uint32_t a = argb >> 24;
	if (a == 255)
		return argb;
	auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
	return (a << 24) | (scale((argb >> 16) & 0xff) << 16) | (scale((argb >> 8) & 0xff) << 8) | scale(argb & 0xff);
}

// Source over destination, both premultiplied.
uint32_t over(uint32_t src, uint32_t dst)
{
	uint32_t inverse = 255 - (src >> 24);
	if (inverse == 0)
		return src;
	uint32_t out = 0;
	for (int shift = 0; shift < 32; shift += 8)
	{
		uint32_t s = (src >> shift) & 0xff, d = (dst >> shift) & 0xff;
		out |= std::min<uint32_t>(255, s + (d * inverse + 127) / 255) << shift;
	}
	return out;
}

int horizontalOffset(int flags, int space, int width)
{
	if (flags & gPainter::RT_HALIGN_CENTER)
		return (space - width) / 2;
	if (flags & gPainter::RT_HALIGN_RIGHT)
		return space - width;
	return 0;
}
} // namespace

CairoPainter::CairoPainter(cairo_surface_t *surface)
	: gPainter(surfaceDevice, surfaceRect(surface)), m_surface(surface), m_cr(cairo_create(surface))
{
}

CairoPainter::~CairoPainter()
{
	cairo_destroy(m_cr);
}

void CairoPainter::flush()
{
	cairo_surface_flush(m_surface);
}

void CairoPainter::drawFill(const eRect &rect, const gColor &color)
{
	cairo_save(m_cr);
	cairo_set_operator(m_cr, CAIRO_OPERATOR_SOURCE);
	cairo_set_source_rgba(m_cr, color.r / 255.0, color.g / 255.0, color.b / 255.0, color.a / 255.0);
	cairo_rectangle(m_cr, rect.x, rect.y, rect.w, rect.h);
	cairo_fill(m_cr);
	cairo_restore(m_cr);
}

void CairoPainter::drawPixmap(const gPixmap &pixmap, ePoint pos, const eRect &clip, int flags)
{
	eRect target = eRect(pos, pixmap.size()).intersected(clip).intersected(surfaceRect(m_surface));
	if (target.isEmpty())
		return;
	// Pixels are combined by hand: cairo has no operator that skips the transparent
	// pixels of a picture and copies the rest as they are.
	cairo_surface_flush(m_surface);
	unsigned char *data = cairo_image_surface_get_data(m_surface);
	int stride = cairo_image_surface_get_stride(m_surface);
	bool alphaTest = flags & BF_ALPHA_TEST;
	for (int y = target.y; y < target.bottom(); ++y)
	{
		uint32_t *row = reinterpret_cast<uint32_t *>(data + size_t(y) * stride);
		for (int x = target.x; x < target.right(); ++x)
		{
			uint32_t src = pixmap.at(x - pos.x, y - pos.y);
			if (alphaTest)
			{
				if (src >> 24)
					row[x] = premultiply(src);
			}
			else
				row[x] = over(premultiply(src), row[x]);
		}
	}
	cairo_surface_mark_dirty_rectangle(m_surface, target.x, target.y, target.w, target.h);
}

void CairoPainter::drawText(const eRect &rect, const eString &text, const gFont &font, const gColor &color, int flags,
	const eRect &clip)
{
	cairo_save(m_cr);
	cairo_rectangle(m_cr, clip.x, clip.y, clip.w, clip.h);
	cairo_clip(m_cr);
	cairo_set_operator(m_cr, CAIRO_OPERATOR_OVER);
	cairo_set_source_rgba(m_cr, color.r / 255.0, color.g / 255.0, color.b / 255.0, color.a / 255.0);
	if (flags & RT_WRAP)
		drawWrapped(rect, text, font, flags);
	else
		drawLines(rect, text, font, flags);
	cairo_restore(m_cr);
}

void CairoPainter::drawWrapped(const eRect &rect, const eString &text, const gFont &font, int flags)
{
	PangoLayout *layout = PangoText::createLayout(m_cr, text, font);
	pango_layout_set_width(layout, std::max(1, rect.w) * PANGO_SCALE);
	pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
	if (flags & RT_HALIGN_CENTER)
		pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
	else if (flags & RT_HALIGN_RIGHT)
		pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
	PangoRectangle logical;
	pango_layout_get_pixel_extents(layout, nullptr, &logical);
	int y = rect.y;
	if (flags & RT_VALIGN_CENTER)
		y += (rect.h - logical.height) / 2;
	cairo_move_to(m_cr, rect.x, y);
	pango_cairo_show_layout(m_cr, layout);
	g_object_unref(layout);
}

// Without wrapping, lines break at '\n' only; each is measured and placed on its
// own, as the text measurer measures them.
void CairoPainter::drawLines(const eRect &rect, const eString &text, const gFont &font, int flags)
{
	struct Line
	{
		PangoLayout *layout;
		PangoRectangle logical;
	};
	std::vector<Line> lines;
	int height = 0;
	size_t start = 0;
	while (start != eString::npos)
	{
		size_t end = text.find('\n', start);
		Line line;
		line.layout = PangoText::createLayout(m_cr, text.substr(start, end == eString::npos ? eString::npos : end - start), font);
		pango_layout_get_pixel_extents(line.layout, nullptr, &line.logical);
		height += line.logical.height;
		lines.push_back(line);
		start = end == eString::npos ? eString::npos : end + 1;
	}
	int y = rect.y;
	if (flags & RT_VALIGN_CENTER)
		y += (rect.h - height) / 2;
	for (Line &line : lines)
	{
		cairo_move_to(m_cr, rect.x + horizontalOffset(flags, rect.w, line.logical.width), y);
		pango_cairo_show_layout(m_cr, line.layout);
		y += line.logical.height;
		g_object_unref(line.layout);
	}
}
