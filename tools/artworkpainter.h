#ifndef TOOLS_ARTWORKPAINTER_H
#define TOOLS_ARTWORKPAINTER_H

#include <cairo.h>

#include <string>

// Small drawing helpers for the project's pictures: a cairo picture of a given
// size that is written as a PNG file, and the shapes the pictures share.
class ArtworkPainter
{
public:
	ArtworkPainter(int width, int height);
	~ArtworkPainter();
	ArtworkPainter(const ArtworkPainter &) = delete;
	ArtworkPainter &operator=(const ArtworkPainter &) = delete;

	cairo_t *cr() const { return m_cr; }
	cairo_surface_t *surface() const { return m_surface; }
	int width() const { return m_width; }
	int height() const { return m_height; }

	// Writes the picture; false with a message on standard error when it cannot.
	bool writePng(const std::string &path) const;

	// Colours as 0xRRGGBB, with an alpha of 0..1.
	void setColor(unsigned rgb, double alpha = 1.0);
	void roundedRect(double x, double y, double w, double h, double r);
	// Text centred on (cx, cy) in the given font ("DejaVu Sans Bold") and pixel size.
	void centredText(const std::string &text, const std::string &font, double size, double cx, double cy);
	// Text with its top left at (x, y).
	void text(const std::string &text, const std::string &font, double size, double x, double y);

private:
	int m_width, m_height;
	cairo_surface_t *m_surface;
	cairo_t *m_cr;
};

#endif
