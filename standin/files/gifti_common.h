#pragma once

// What the stand-in's GIfTI reader and writer share.

namespace standin {

// Names of the record fields in a GIfTI file's metadata: the prefix and the
// field's name, "zandrovix.visible" for instance.
constexpr const char* kGiftiFieldPrefix = "zandrovix.";

// A colour component from 0 to 1 as a byte, rounded; below 0 and NaN give
// 0, 1 and above 255.
inline unsigned char colorByte(float component) {
  if (!(component > 0.0f)) return 0;
  if (component >= 1.0f) return 255;
  return static_cast<unsigned char>(component * 255.0f + 0.5f);
}

}  // namespace standin
