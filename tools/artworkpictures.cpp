#include "artworkpictures.h"

#include <numbers>

#include "artworkpainter.h"

namespace
{
const double pi = std::numbers::pi;

void folderShape(ArtworkPainter &p, unsigned body, unsigned tab)
{
	cairo_t *cr = p.cr();
	p.setColor(tab);
	p.roundedRect(2, 4, 9, 5, 1.5);
	cairo_fill(cr);
	p.setColor(body);
	p.roundedRect(2, 6.5, 20, 14, 2);
	cairo_fill_preserve(cr);
	p.setColor(0x6a4a10);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
	p.setColor(0xffffff, 0.35);
	cairo_rectangle(cr, 3, 8, 18, 2);
	cairo_fill(cr);
}

void badge(ArtworkPainter &p, unsigned color)
{
	cairo_t *cr = p.cr();
	cairo_arc(cr, 12, 12, 10.5, 0, 2 * pi);
	p.setColor(color);
	cairo_fill_preserve(cr);
	p.setColor(0x000000, 0.45);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
}
} // namespace

namespace ArtworkPictures
{
void fileIcon(ArtworkPainter &p, const std::string &label, unsigned bandColor)
{
	cairo_t *cr = p.cr();
	// A page with its top right corner folded over.
	cairo_move_to(cr, 3.5, 1.5);
	cairo_line_to(cr, 15.5, 1.5);
	cairo_line_to(cr, 20.5, 6.5);
	cairo_line_to(cr, 20.5, 22.5);
	cairo_line_to(cr, 3.5, 22.5);
	cairo_close_path(cr);
	p.setColor(0xf2f2f2);
	cairo_fill_preserve(cr);
	p.setColor(0x404040);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
	cairo_move_to(cr, 15.5, 1.5);
	cairo_line_to(cr, 15.5, 6.5);
	cairo_line_to(cr, 20.5, 6.5);
	cairo_stroke(cr);
	p.setColor(bandColor);
	cairo_rectangle(cr, 1, 11, 22, 9);
	cairo_fill(cr);
	p.setColor(0xffffff);
	p.centredText(label, label.size() > 3 ? "DejaVu Sans Condensed Bold" : "DejaVu Sans Bold", 7, 12, 15.5);
}

void discIcon(ArtworkPainter &p, const std::string &label)
{
	cairo_t *cr = p.cr();
	cairo_pattern_t *shine = cairo_pattern_create_linear(0, 0, 24, 24);
	cairo_pattern_add_color_stop_rgb(shine, 0, 0.92, 0.92, 0.96);
	cairo_pattern_add_color_stop_rgb(shine, 0.5, 0.62, 0.66, 0.78);
	cairo_pattern_add_color_stop_rgb(shine, 1, 0.88, 0.84, 0.92);
	cairo_arc(cr, 12, 12, 11, 0, 2 * pi);
	cairo_set_source(cr, shine);
	cairo_fill_preserve(cr);
	cairo_pattern_destroy(shine);
	p.setColor(0x404050);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
	cairo_arc(cr, 12, 12, 2.5, 0, 2 * pi);
	p.setColor(0x303040);
	cairo_fill(cr);
	p.setColor(0x1a2a7a);
	cairo_rectangle(cr, 2, 15, 20, 7);
	cairo_fill(cr);
	p.setColor(0xffffff);
	p.centredText(label, "DejaVu Sans Bold", 6.5, 12, 18.5);
}

void folder(ArtworkPainter &p)
{
	folderShape(p, 0xe6b84a, 0xc8962c);
}

void goUp(ArtworkPainter &p)
{
	folderShape(p, 0xd9c48a, 0xb09a58);
	cairo_t *cr = p.cr();
	cairo_move_to(cr, 12, 8);
	cairo_line_to(cr, 18, 14);
	cairo_line_to(cr, 14.5, 14);
	cairo_line_to(cr, 14.5, 19);
	cairo_line_to(cr, 9.5, 19);
	cairo_line_to(cr, 9.5, 14);
	cairo_line_to(cr, 6, 14);
	cairo_close_path(cr);
	p.setColor(0x2a58c8);
	cairo_fill_preserve(cr);
	p.setColor(0xffffff);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
}

void placeholder(ArtworkPainter &p)
{
	badge(p, 0x8a8f9a);
	// A plug pulled from its socket.
	cairo_t *cr = p.cr();
	p.setColor(0xffffff);
	cairo_rectangle(cr, 6, 9, 6, 6);
	cairo_fill(cr);
	cairo_rectangle(cr, 3.5, 10, 3, 1.5);
	cairo_rectangle(cr, 3.5, 12.5, 3, 1.5);
	cairo_fill(cr);
	cairo_rectangle(cr, 15, 9, 4, 6);
	cairo_fill(cr);
	cairo_rectangle(cr, 19, 11, 2.5, 2);
	cairo_fill(cr);
}

void error(ArtworkPainter &p)
{
	badge(p, 0xc83030);
	cairo_t *cr = p.cr();
	p.setColor(0xffffff);
	cairo_set_line_width(cr, 2.5);
	cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
	cairo_move_to(cr, 8, 8);
	cairo_line_to(cr, 16, 16);
	cairo_move_to(cr, 16, 8);
	cairo_line_to(cr, 8, 16);
	cairo_stroke(cr);
}

void help(ArtworkPainter &p)
{
	cairo_t *cr = p.cr();
	p.roundedRect(6, 1, 12, 22, 3);
	p.setColor(0x2c2f38);
	cairo_fill_preserve(cr);
	p.setColor(0x9098a8);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
	const unsigned colours[4] = {0xd03030, 0x30a040, 0xe0c020, 0x3050d0};
	for (int i = 0; i < 4; ++i)
	{
		p.setColor(colours[i]);
		cairo_rectangle(cr, 7.5 + i * 2.3, 4, 1.8, 2);
		cairo_fill(cr);
	}
	p.setColor(0xe0e0e0);
	cairo_arc(cr, 12, 11, 2.6, 0, 2 * pi);
	cairo_fill(cr);
	for (int row = 0; row < 3; ++row)
		for (int col = 0; col < 3; ++col)
		{
			cairo_arc(cr, 9 + col * 3, 16 + row * 2.3, 0.8, 0, 2 * pi);
			cairo_fill(cr);
		}
}

void progressBar(ArtworkPainter &p)
{
	cairo_t *cr = p.cr();
	cairo_pattern_t *fill = cairo_pattern_create_linear(0, 0, p.width(), 0);
	cairo_pattern_add_color_stop_rgb(fill, 0, 0.10, 0.32, 0.72);
	cairo_pattern_add_color_stop_rgb(fill, 1, 0.26, 0.76, 1.0);
	p.roundedRect(0.5, 0.5, p.width() - 1, p.height() - 1, 4);
	cairo_set_source(cr, fill);
	cairo_fill_preserve(cr);
	cairo_pattern_destroy(fill);
	p.setColor(0x0a1a40);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
	p.setColor(0xffffff, 0.3);
	p.roundedRect(3, 2, p.width() - 6, p.height() / 2.0 - 2, 2);
	cairo_fill(cr);
}

void volumeDisplay(ArtworkPainter &p)
{
	cairo_t *cr = p.cr();
	p.roundedRect(0.5, 0.5, p.width() - 1, p.height() - 1, 8);
	p.setColor(0x18203a, 0.92);
	cairo_fill_preserve(cr);
	p.setColor(0x6070a0);
	cairo_set_line_width(cr, 1);
	cairo_stroke(cr);
	// The loudspeaker.
	p.setColor(0xe8ecf4);
	cairo_rectangle(cr, 9, 15, 6, 10);
	cairo_fill(cr);
	cairo_move_to(cr, 14, 15);
	cairo_line_to(cr, 21, 9);
	cairo_line_to(cr, 21, 31);
	cairo_line_to(cr, 14, 25);
	cairo_close_path(cr);
	cairo_fill(cr);
	cairo_set_line_width(cr, 1.6);
	cairo_arc(cr, 22, 20, 5, -pi / 4, pi / 4);
	cairo_stroke(cr);
	cairo_arc(cr, 22, 20, 9, -pi / 4, pi / 4);
	cairo_stroke(cr);
	// The slot the bar lies in, one pixel larger all round.
	p.setColor(0x080c18);
	cairo_rectangle(cr, 39, 13, 152, 14);
	cairo_fill(cr);
}

void volumeBar(ArtworkPainter &p)
{
	cairo_t *cr = p.cr();
	cairo_pattern_t *fill = cairo_pattern_create_linear(0, 0, p.width(), 0);
	cairo_pattern_add_color_stop_rgb(fill, 0, 0.16, 0.50, 0.86);
	cairo_pattern_add_color_stop_rgb(fill, 1, 0.36, 0.86, 1.0);
	cairo_rectangle(cr, 0, 0, p.width(), p.height());
	cairo_set_source(cr, fill);
	cairo_fill(cr);
	cairo_pattern_destroy(fill);
}

void logo(ArtworkPainter &p)
{
	cairo_t *cr = p.cr();
	p.roundedRect(1, 1, p.width() - 2, p.height() - 2, 10);
	p.setColor(0x14204a, 0.95);
	cairo_fill_preserve(cr);
	p.setColor(0x5a78c8);
	cairo_set_line_width(cr, 2);
	cairo_stroke(cr);
	// A play sign beside the name.
	cairo_move_to(cr, 12, 13);
	cairo_line_to(cr, 32, 24);
	cairo_line_to(cr, 12, 35);
	cairo_close_path(cr);
	p.setColor(0xff9a1a);
	cairo_fill(cr);
	p.setColor(0xffffff);
	p.centredText("quelt", "DejaVu Sans Bold", 26, 74, 24);
}

void background(ArtworkPainter &p)
{
	cairo_t *cr = p.cr();
	const double w = p.width(), h = p.height();
	cairo_pattern_t *sky = cairo_pattern_create_radial(w * 0.5, h * 0.42, 40, w * 0.5, h * 0.5, w * 0.75);
	cairo_pattern_add_color_stop_rgb(sky, 0, 0.16, 0.24, 0.46);
	cairo_pattern_add_color_stop_rgb(sky, 1, 0.02, 0.04, 0.10);
	cairo_set_source(cr, sky);
	cairo_paint(cr);
	cairo_pattern_destroy(sky);

	// A film strip along the bottom edge, below where the pre-buffering display stands.
	const double strip = h - 54;
	p.setColor(0x05070c);
	cairo_rectangle(cr, 0, strip, w, 54);
	cairo_fill(cr);
	p.setColor(0xc8d0e0, 0.85);
	for (double x = 6; x < w; x += 24)
	{
		p.roundedRect(x, strip + 5, 12, 7, 2);
		p.roundedRect(x, strip + 42, 12, 7, 2);
	}
	cairo_fill(cr);
	for (double x = 10; x < w; x += 100)
	{
		cairo_pattern_t *frame = cairo_pattern_create_linear(x, 0, x + 88, 0);
		cairo_pattern_add_color_stop_rgb(frame, 0, 0.20, 0.30, 0.55);
		cairo_pattern_add_color_stop_rgb(frame, 1, 0.40, 0.22, 0.45);
		cairo_rectangle(cr, x, strip + 15, 88, 24);
		cairo_set_source(cr, frame);
		cairo_fill(cr);
		cairo_pattern_destroy(frame);
	}

	cairo_move_to(cr, w / 2 - 70, 150);
	cairo_line_to(cr, w / 2 + 60, 225);
	cairo_line_to(cr, w / 2 - 70, 300);
	cairo_close_path(cr);
	p.setColor(0xff9a1a, 0.9);
	cairo_fill(cr);
	p.setColor(0xffffff);
	p.centredText("quelt", "DejaVu Sans Bold", 72, w / 2, 362);
	p.setColor(0xb8c4e0);
	p.centredText("files of your PC on the television", "DejaVu Sans", 22, w / 2, 418);
}
} // namespace ArtworkPictures
