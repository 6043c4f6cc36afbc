#include "host/gpainter.h"

#include <algorithm>
#include <cmath>

namespace
{
const TextMeasurer defaultMeasurer;
const TextMeasurer *activeMeasurer = &defaultMeasurer;

// Without a device the clip is the screen, with room for windows parked off it.
const eRect unlimited(-100000, -100000, 200000, 200000);
} // namespace

gFBDC *gFBDC::getInstance()
{
	static gFBDC instance;
	return &instance;
}

eSize TextMeasurer::measure(const eString &line, const gFont &font) const
{
	return eSize(int(std::lround(0.55 * font.pointSize * double(line.size()))), font.pointSize);
}

const TextMeasurer &TextMeasurer::active()
{
	return *activeMeasurer;
}

void TextMeasurer::setActive(const TextMeasurer *measurer)
{
	activeMeasurer = measurer ? measurer : &defaultMeasurer;
}

eTextPara::eTextPara(const eRect &area, ePoint start) : m_area(area), m_start(start)
{
	layout();
}

void eTextPara::setFont(const gFont &font)
{
	m_font = font;
	layout();
}

void eTextPara::renderString(const eString &text, int flags)
{
	m_text = text;
	m_flags = flags;
	layout();
}

void eTextPara::layout()
{
	const TextMeasurer &measurer = TextMeasurer::active();
	int width = 0, height = 0;
	size_t start = 0;
	if (m_text.empty())
	{
		m_boundBox = eRect(m_area.x, m_area.y, 0, 0);
		return;
	}
	while (start != eString::npos)
	{
		size_t end = m_text.find('\n', start);
		eSize s = measurer.measure(m_text.substr(start, end == eString::npos ? eString::npos : end - start), m_font);
		width = std::max(width, s.w);
		height += s.h;
		start = end == eString::npos ? eString::npos : end + 1;
	}
	m_boundBox = eRect(m_area.x, m_area.y, width, height);
}

eTextPara *eTextPara::grab()
{
	++m_refs;
	return this;
}

void eTextPara::destroy()
{
	if (--m_refs == 0)
		delete this;
}

gPainter::gPainter()
{
	m_clips.push_back(unlimited);
}

gPainter::gPainter(gDC &dc, const eRect &area)
{
	eRect clip = area;
	if (clip.isEmpty())
	{
		gPixmap *pixmap = dc.getPixmap();
		clip = pixmap ? eRect(ePoint(0, 0), pixmap->size()) : unlimited;
	}
	m_clips.push_back(clip);
}

void gPainter::clip(const eRect &area)
{
	m_clips.push_back(toDevice(area).intersected(m_clips.back()));
}

void gPainter::clippop()
{
	// The device's own clip stays.
	if (m_clips.size() > 1)
		m_clips.pop_back();
}

void gPainter::fill(const eRect &area, const gColor &color)
{
	eRect r = toDevice(area).intersected(m_clips.back());
	if (!r.isEmpty())
		drawFill(r, color);
}

void gPainter::clear()
{
	if (!m_clips.back().isEmpty())
		drawFill(m_clips.back(), m_background);
}

void gPainter::blit(const gPixmap &pixmap, ePoint pos, const eRect &clipArea, int flags)
{
	eRect c = m_clips.back();
	if (!clipArea.isEmpty())
		c = c.intersected(toDevice(clipArea));
	eRect where = eRect(pos + m_zero, pixmap.size());
	if (c.isEmpty() || where.intersected(c).isEmpty())
		return;
	drawPixmap(pixmap, where.topLeft(), c, flags);
}

void gPainter::renderText(const eRect &area, const eString &text, int flags)
{
	eRect r = toDevice(area);
	const eRect &c = m_clips.back();
	if (text.empty() || c.isEmpty() || r.intersected(c).isEmpty())
		return;
	drawText(r, text, m_font, m_foreground, flags, c);
}

void gPainter::renderPara(const eTextPara &para, ePoint offset)
{
	eRect box = para.getBoundBox();
	eRect r = toDevice(eRect(box.topLeft() + offset, box.size()));
	const eRect &c = m_clips.back();
	if (para.getText().empty() || c.isEmpty() || r.intersected(c).isEmpty())
		return;
	drawText(r, para.getText(), para.getFont(), m_foreground, para.getFlags(), c);
}
