#ifndef BOX_STILLPICTURE_H
#define BOX_STILLPICTURE_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "box/picturestore.h"

// A still picture as the receiver's still-picture tool takes it: an MPEG video
// elementary stream holding an intra-coded picture (the ".mvi" files of receiver
// images). Any thread; each call is independent.
namespace StillPicture
{
// Larger than any still picture; more than this is not a picture.
constexpr size_t maxBytes = size_t(8) << 20;

// Decodes the last complete picture in data into out. False with error set when
// the bytes hold no picture that decodes.
bool decode(const uint8_t *data, size_t size, DecodedPicture &out, std::string &error);
} // namespace StillPicture

#endif
