#pragma once

// A small preview of a picture for a terminal that shows 24-bit colour: each
// character cell is an upper half block whose foreground is the upper pixel
// and whose background is the lower one.

#include "standin/base/growing_text.h"
#include "standin/pictures/surface_picture.h"

namespace standin {

// The preview's width in character cells, unless the picture is narrower.
const int32_t kPreviewColumns = 64;

// Appends the preview of `picture`, at most `columns` cells wide and with
// the picture's proportions, to `text`: one line per two pixel rows, each
// ending with the colours reset and a line feed. Each cell shows the mean
// colour of the pixels it covers. Nothing for an empty picture.
void appendPicturePreview(const Picture& picture, int32_t columns, GrowingText* text);

}  // namespace standin
