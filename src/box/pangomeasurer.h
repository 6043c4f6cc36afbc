#ifndef BOX_PANGOMEASURER_H
#define BOX_PANGOMEASURER_H

#include <cairo.h>

#include "host/gpainter.h"

// Measures lines of text with pango, as the box's painter draws them. The box
// installs it for as long as its screen exists (install/uninstall), so a
// paragraph's bounding box and a message box's size fit the drawn text.
// GUI thread only, like the widgets that ask it.
class PangoMeasurer : public TextMeasurer
{
public:
	PangoMeasurer();
	~PangoMeasurer() override;
	PangoMeasurer(const PangoMeasurer &) = delete;
	PangoMeasurer &operator=(const PangoMeasurer &) = delete;

	// The logical size of the line: its advance width and the font's line height.
	eSize measure(const eString &line, const gFont &font) const override;

	void install() const { TextMeasurer::setActive(this); }
	// Restores the default when this measurer is the active one.
	void uninstall() const;

private:
	cairo_surface_t *m_surface;
	cairo_t *m_cr;
};

#endif
