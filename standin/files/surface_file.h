#pragma once

// Surface files of the stand-in host, whatever their format: loading a file
// (its format told from its content), saving one (its format chosen by its
// name), the record fields that files keep as text, and the checks every
// reader makes. The formats themselves are in surface_formats.h.

#include <stddef.h>
#include <stdint.h>

#include "standin/base/growing_text.h"
#include "standin/mesh/host_surface.h"

namespace standin {

// Writes `surface` to the file at `path`, in the format that
// surfaceFormatForName chooses for the name. Returns false with a message in
// `error` when the file cannot be written.
bool saveSurfaceFile(const HostSurface& surface, const char* path, GrowingText* error);

// Writes `contents` to the file at `path`, checking every write, the flush
// and the close. Returns false with a message in `error` when any fails.
bool writeWholeFile(const char* path, const GrowingText& contents, GrowingText* error);

// Loads the surface file at `path` into `surface`, whose file name becomes
// `path`, in whichever format of the table its content is. Returns false
// with one line in `error` that names the file and what is wrong with it.
bool loadSurfaceFile(const char* path, HostSurface* surface, GrowingText* error);

// The most vertices and triangles of a surface the host loads, in every
// format: beyond any cortex, and within what a test machine's memory holds.
constexpr int64_t kMostSurfaceVertices = int64_t{1} << 26;
constexpr int64_t kMostSurfaceTriangles = int64_t{1} << 27;

// Whether a surface file's declared counts are within those limits, checked
// before anything is allocated. Otherwise appends one line to `error`.
bool checkSurfaceSize(int64_t vertices, int64_t triangles, GrowingText* error);

// Whether `surface` is a mesh the host can use: every coordinate a finite
// number, every triangle corner one of its vertices. Otherwise appends to
// `error` the first vertex or triangle that is not.
bool checkSurfaceMesh(const HostSurface& surface, GrowingText* error);

// The record fields that files keep as text ("comment zandrovix" lines in
// PLY, metadata in GIfTI), in file order.
struct SurfaceField {
  const char* name;
  bool isFloat;
  int count;
  // Where the field lives in a HostSurface.
  size_t offset;
};
extern const SurfaceField kSurfaceFields[];
extern const int kSurfaceFieldCount;

// Appends the values of `field` in `surface`, each after a blank, floats
// with "%.9g" so that they read back exactly.
void appendSurfaceFieldValues(GrowingText* out, const HostSurface& surface,
                              const SurfaceField& field);

// Reads one value of `field` from `text` (all of it) into the 4 bytes at
// `slot`. Returns false when `text` is not such a value.
bool parseSurfaceFieldValue(const char* text, const SurfaceField& field, char* slot);

}  // namespace standin
