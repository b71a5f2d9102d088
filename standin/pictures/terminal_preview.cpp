#include "standin/pictures/terminal_preview.h"

namespace standin {

namespace {

// UTF-8 of U+2580 UPPER HALF BLOCK.
const char* const kUpperHalfBlock = "\xE2\x96\x80";

// The mean colour of the pixels in columns [left, right) and rows
// [top, bottom) of `picture`; the span is never empty.
void meanColor(const Picture& picture, int32_t left, int32_t right, int32_t top, int32_t bottom,
               unsigned* color) {
  unsigned long long sums[3] = {0, 0, 0};
  for (int32_t row = top; row < bottom; ++row) {
    const uint8_t* pixel =
        picture.pixels + (static_cast<size_t>(row) * static_cast<size_t>(picture.width) +
                          static_cast<size_t>(left)) *
                             3;
    for (int32_t column = left; column < right; ++column, pixel += 3) {
      for (int channel = 0; channel < 3; ++channel) sums[channel] += pixel[channel];
    }
  }
  unsigned long long count =
      static_cast<unsigned long long>(right - left) * static_cast<unsigned long long>(bottom - top);
  for (int channel = 0; channel < 3; ++channel) {
    color[channel] = static_cast<unsigned>((sums[channel] + count / 2) / count);
  }
}

// The start of cell `index` of `cells` spread over `size` pixels.
int32_t cellStart(int32_t index, int32_t cells, int32_t size) {
  return static_cast<int32_t>(static_cast<long long>(index) * size / cells);
}

}  // namespace

void appendPicturePreview(const Picture& picture, int32_t columns, GrowingText* text) {
  if (picture.width < 1 || picture.height < 1 || columns < 1) return;
  if (columns > picture.width) columns = picture.width;
  // Half-block pixels are about square in a cell twice as high as wide.
  long long rows =
      (static_cast<long long>(columns) * picture.height + picture.width / 2) / picture.width;
  if (rows < 1) rows = 1;
  if (rows > picture.height) rows = picture.height;
  int32_t pixelRows = static_cast<int32_t>(rows);
  for (int32_t line = 0; line * 2 < pixelRows; ++line) {
    for (int32_t cell = 0; cell < columns; ++cell) {
      int32_t left = cellStart(cell, columns, picture.width);
      int32_t right = cellStart(cell + 1, columns, picture.width);
      unsigned upper[3];
      int32_t row = line * 2;
      meanColor(picture, left, right, cellStart(row, pixelRows, picture.height),
                cellStart(row + 1, pixelRows, picture.height), upper);
      text->appendFormat("\x1b[38;2;%u;%u;%um", upper[0], upper[1], upper[2]);
      if (row + 1 < pixelRows) {
        unsigned lower[3];
        meanColor(picture, left, right, cellStart(row + 1, pixelRows, picture.height),
                  cellStart(row + 2, pixelRows, picture.height), lower);
        text->appendFormat("\x1b[48;2;%u;%u;%um", lower[0], lower[1], lower[2]);
      } else {
        text->append("\x1b[49m");
      }
      text->append(kUpperHalfBlock);
    }
    text->append("\x1b[0m\n");
  }
}

}  // namespace standin
