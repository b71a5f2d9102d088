// The table of surface file formats, and finding a format in it.

#include "standin/files/surface_formats.h"

#include <string.h>

namespace standin {

const SurfaceFormat* const kSurfaceFormats[] = {
    &kPlyFormat,
    &kFreeSurferFormat,
    &kGiftiFormat,
};
const int kSurfaceFormatCount =
    static_cast<int>(sizeof(kSurfaceFormats) / sizeof(kSurfaceFormats[0]));

namespace {

char lowerCase(char letter) {
  return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

bool endsWithAnyCase(const char* text, const char* ending) {
  size_t length = strlen(text);
  size_t endingLength = strlen(ending);
  if (length < endingLength) return false;
  const char* end = text + length - endingLength;
  for (size_t index = 0; index < endingLength; ++index) {
    if (lowerCase(end[index]) != lowerCase(ending[index])) return false;
  }
  return true;
}

}  // namespace

const SurfaceFormat* surfaceFormatOfContent(const unsigned char* data, size_t size) {
  for (int index = 0; index < kSurfaceFormatCount; ++index) {
    if (kSurfaceFormats[index]->recognise(data, size)) return kSurfaceFormats[index];
  }
  return nullptr;
}

const SurfaceFormat& surfaceFormatForName(const char* path) {
  for (int index = 0; index < kSurfaceFormatCount; ++index) {
    const SurfaceFormat& format = *kSurfaceFormats[index];
    if (format.saveNameEnding != nullptr && endsWithAnyCase(path, format.saveNameEnding)) {
      return format;
    }
  }
  for (int index = 0; index < kSurfaceFormatCount; ++index) {
    const SurfaceFormat& format = *kSurfaceFormats[index];
    if (format.saveNameEnding == nullptr && format.save != nullptr) return format;
  }
  return *kSurfaceFormats[0];
}

void appendSurfaceFormatNames(GrowingText* out, const char* lastJoin, const SurfaceFormat* except) {
  const int named = kSurfaceFormatCount - (except != nullptr ? 1 : 0);
  int written = 0;
  for (int index = 0; index < kSurfaceFormatCount; ++index) {
    if (kSurfaceFormats[index] == except) continue;
    if (written > 0) out->append(written + 1 == named ? lastJoin : ", ");
    out->append(kSurfaceFormats[index]->name);
    ++written;
  }
}

}  // namespace standin
