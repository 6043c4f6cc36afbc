#ifndef BOX_PNGSNAPSHOT_H
#define BOX_PNGSNAPSHOT_H

#include <string>

struct ScreenFrame;

// Writes a screen frame as an 8-bit RGB PNG file (the frame is opaque). The file
// is written under a temporary name and renamed, so a reader never sees half a
// picture. False with error set when it cannot be written.
bool writePngSnapshot(const std::string &path, const ScreenFrame &frame, std::string &error);

#endif
