#include "box/lcdstrip.h"

#include "box/pangotext.h"
#include "host/ezaplcd.h"
#include "host/log.h"

LcdStrip::LcdStrip()
{
	eZapLCD *lcd = eZapLCD::getInstance();
	lcd->lcdMain->changed.connect(sigc::mem_fun(*this, &LcdStrip::update));
	lcd->lcdMenu->changed.connect(sigc::mem_fun(*this, &LcdStrip::update));
	m_text = lcd->currentText();
	if (!m_text.empty())
		eDebug("[box] LCD: %s", m_text.c_str());
}

void LcdStrip::update()
{
	eString text = eZapLCD::getInstance()->currentText();
	if (text == m_text)
		return;
	m_text = text;
	eDebug("[box] LCD: %s", m_text.c_str());
	if (changed)
		changed();
}

void LcdStrip::draw(cairo_t *cr, int top, int width) const
{
	// A dark panel with a back-lit glass in the middle, as on the receiver's front.
	cairo_save(cr);
	cairo_set_source_rgb(cr, 0.12, 0.12, 0.13);
	cairo_rectangle(cr, 0, top, width, height);
	cairo_fill(cr);
	const int glassX = width / 4, glassW = width / 2;
	cairo_set_source_rgb(cr, 0.55, 0.68, 0.42);
	cairo_rectangle(cr, glassX, top + 5, glassW, height - 10);
	cairo_fill(cr);
	cairo_rectangle(cr, glassX + 6, top + 5, glassW - 12, height - 10);
	cairo_clip(cr);
	cairo_set_source_rgb(cr, 0.08, 0.1, 0.06);
	PangoLayout *layout = PangoText::createLayout(cr, m_text, gFont("DejaVu Sans Mono", 20));
	PangoRectangle logical;
	pango_layout_get_pixel_extents(layout, nullptr, &logical);
	// A name longer than the glass shows its start, as the receiver's LCD does.
	int x = logical.width < glassW - 12 ? glassX + (glassW - logical.width) / 2 : glassX + 6;
	cairo_move_to(cr, x, top + (height - logical.height) / 2);
	pango_cairo_show_layout(cr, layout);
	g_object_unref(layout);
	cairo_restore(cr);
}
