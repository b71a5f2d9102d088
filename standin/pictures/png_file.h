#pragma once

// Pictures as PNG files, encoded by stb_image_write.

#include <stddef.h>

#include "standin/base/growing_text.h"
#include "standin/pictures/surface_picture.h"

namespace standin {

// Encodes `picture` as an 8-bit RGB PNG. Returns the bytes, which the caller
// gives back with free(), and their count in `*length`; null when memory
// runs out.
unsigned char* encodePng(const Picture& picture, size_t* length);

// Writes `picture` as a PNG file at `path`. Returns false, with the reason
// in `error`, when it cannot be encoded or the file cannot be written in
// full (a part written stays where it is).
bool writePngFile(const char* path, const Picture& picture, GrowingText* error);

}  // namespace standin
