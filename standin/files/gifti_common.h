#pragma once

// What the stand-in's GIfTI reader and writer share.

namespace standin {

// Names of the record fields in a GIfTI file's metadata: the prefix and the
// field's name, "zandrovix.visible" for instance.
constexpr const char* kGiftiFieldPrefix = "zandrovix.";

}  // namespace standin
