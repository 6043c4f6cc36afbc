#ifndef BOX_CAIROPAINTER_H
#define BOX_CAIROPAINTER_H

#include <cairo.h>

#include "host/gpainter.h"

// The platform's painter on a cairo image surface (ARGB32), with pango for text.
// It behaves as the receiver's frame buffer does: a fill replaces the pixels with
// its colour, alpha included, so a translucent background lets the video plane
// show through; a picture is blended by its alpha, or with BF_ALPHA_TEST copied
// except where it is fully transparent; text is blended over what is there.
// GUI thread only.
class CairoPainter : public gPainter
{
public:
	// Draws into surface, which must outlive the painter; the whole surface is the clip.
	explicit CairoPainter(cairo_surface_t *surface);
	~CairoPainter() override;

	void flush() override;

protected:
	void drawFill(const eRect &rect, const gColor &color) override;
	void drawPixmap(const gPixmap &pixmap, ePoint pos, const eRect &clip, int flags) override;
	void drawText(const eRect &rect, const eString &text, const gFont &font, const gColor &color, int flags,
		const eRect &clip) override;

private:
	void drawWrapped(const eRect &rect, const eString &text, const gFont &font, int flags);
	void drawLines(const eRect &rect, const eString &text, const gFont &font, int flags);

	cairo_surface_t *m_surface;
	cairo_t *m_cr;
};

#endif
