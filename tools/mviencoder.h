#ifndef TOOLS_MVIENCODER_H
#define TOOLS_MVIENCODER_H

#include <cairo.h>

#include <string>

// Writes a 720x576 picture as a receiver's still picture: an MPEG-2 video
// elementary stream of one intra-coded frame at 4:3, ended by a sequence end code.
// False with a message on standard error when it cannot.
bool writeMvi(cairo_surface_t *picture, const std::string &path);

#endif
