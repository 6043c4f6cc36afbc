#ifndef BOX_LCDSTRIP_H
#define BOX_LCDSTRIP_H

#include <sigc++/sigc++.h>

#include <cairo.h>

#include <functional>

#include "host/estring.h"

// The receiver's front-panel LCD: follows the LCD's pages, writes each new text
// to the log ("[box] LCD: ...") and draws it as a strip for the window, under
// the picture. GUI thread only.
class LcdStrip : public sigc::trackable
{
public:
	static constexpr int height = 40;

	LcdStrip();
	const eString &text() const { return m_text; }
	// Called after the text changed (the window draws the strip again).
	std::function<void()> changed;

	// Draws the strip into the width x height area of cr at (0, top).
	void draw(cairo_t *cr, int top, int width) const;

private:
	void update();

	eString m_text;
};

#endif
