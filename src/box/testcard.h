#ifndef BOX_TESTCARD_H
#define BOX_TESTCARD_H

#include <cairo.h>

#include "host/estring.h"

// The picture of the box's pretend live-TV service: colour bars, a grey scale, a
// centre circle and the service's name, drawn for a 720x576 screen.
namespace TestCard
{
// Draws the card over the whole of cr's 720x576 area.
void draw(cairo_t *cr, const eString &serviceName);
} // namespace TestCard

#endif
