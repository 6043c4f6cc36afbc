#ifndef BOX_PANGOTEXT_H
#define BOX_PANGOTEXT_H

#include <pango/pangocairo.h>

#include "host/estring.h"
#include "host/gcolor.h"

// What the screen's painter and the text measurer share, so a text is measured
// exactly as it is drawn: the font options, the font description of a gFont and
// the conversion of the platform's 8-bit texts for pango.
namespace PangoText
{
// The platform's texts are bytes: VLC sends UTF-8, the settings file is
// ISO-8859-1. Valid UTF-8 is kept; anything else is read as ISO-8859-1.
eString toUtf8(const eString &text);

// Grey-scale antialiasing without hinting: the same pixels on every machine,
// which the reference snapshots rely on.
void applyFontOptions(PangoContext *context);

// The font in pixels, as the skin gives it. The caller frees it.
PangoFontDescription *describe(const gFont &font);

// A layout for one piece of text on cr, set up with the font and the options.
// The caller unrefs it.
PangoLayout *createLayout(cairo_t *cr, const eString &text, const gFont &font);
} // namespace PangoText

#endif
