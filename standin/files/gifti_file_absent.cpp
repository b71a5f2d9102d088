// GIfTI in builds without libgiftiio (the Windows stand-in host): every
// attempt says plainly that this build cannot.

#include "standin/files/surface_formats.h"

namespace standin {

const bool kGiftiAvailable = false;

bool decodeSurfaceGifti(const unsigned char*, size_t, HostSurface* surface, GrowingText* error) {
  releaseSurface(surface);
  error->append("a GIfTI file, which this build of Zandrovix.exe cannot read (it reads ");
  appendSurfaceFormatNames(error, " and ", &kGiftiFormat);
  error->append(" surfaces)");
  return false;
}

bool saveSurfaceGifti(const HostSurface&, const char* path, GrowingText* error) {
  error->appendFormat(
      "cannot write \"%s\": this build of Zandrovix.exe cannot save GIfTI files (save as .ply)",
      path);
  return false;
}

}  // namespace standin
