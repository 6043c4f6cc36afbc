#ifndef TOOLS_ARTWORKPICTURES_H
#define TOOLS_ARTWORKPICTURES_H

#include <string>

class ArtworkPainter;

// The project's pictures, each drawn into a painter of its size. List icons are
// 24x24, so they stand 3 pixels below the top of a 30-pixel list row.
namespace ArtworkPictures
{
constexpr int iconSize = 24;

// A page with a coloured band carrying the file type ("AVI").
void fileIcon(ArtworkPainter &p, const std::string &label, unsigned bandColor);
// A disc carrying its kind ("DVD", "VCD").
void discIcon(ArtworkPainter &p, const std::string &label);
void folder(ArtworkPainter &p);
void goUp(ArtworkPainter &p);
// The entry shown when VLC cannot be reached.
void placeholder(ArtworkPainter &p);
void error(ArtworkPainter &p);
// The help window's picture beside each line: a small remote control.
void help(ArtworkPainter &p);

// The pre-buffering bar, 300x16: it is shown growing from the left.
void progressBar(ArtworkPainter &p);
// The volume display, 200x40, with the slot the volume bar is laid into at (40,14) 150x12.
void volumeDisplay(ArtworkPainter &p);
// The bar of the Gemini volume display, 150x12, shown cut to the volume's width.
void volumeBar(ArtworkPainter &p);
// The logo on the infobar, 120x48.
void logo(ArtworkPainter &p);
// The background still picture, 720x576.
void background(ArtworkPainter &p);
} // namespace ArtworkPictures

#endif
