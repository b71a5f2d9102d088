#pragma once

// Surface files of the stand-in host: PLY, binary little-endian, which
// common mesh viewers open whatever the file's extension.
//
//   element vertex N: float x, y, z; uchar red, green, blue; int zv_color
//   element face M:   list uchar int vertex_indices (triangles)
//
// zv_color is the exact stored colour value; red, green and blue are for
// viewers (the low three bytes of a value whose top byte is 0x3F, a grey for
// a curvature index otherwise). Every other record field is a header line
// "comment zandrovix <field> <values>", floats with "%.9g" so that they read
// back exactly.
//
// Loading and saving also handle FreeSurfer and GIfTI files; those formats
// are described in surface_formats.h.

#include <stddef.h>

#include "standin/base/growing_text.h"
#include "standin/mesh/host_surface.h"

namespace standin {

// Appends `surface` as a PLY file to `out`. The file name is not stored.
void encodeSurfacePly(const HostSurface& surface, GrowingText* out);

// Reads the PLY file in `data` into `surface` (replacing it; the file name
// is left unset). Accepts any binary little-endian PLY file whose vertices
// have x, y and z and whose faces are triangles; fields without a
// "comment zandrovix" line take the sample surface's values, and colours
// without zv_color come from red, green and blue, or are 0. Returns false
// with a message in `error`, and `surface` empty, when the file is not such
// a file.
bool decodeSurfacePly(const unsigned char* data, size_t size, HostSurface* surface,
                      GrowingText* error);

// Writes `surface` to the file at `path`: as GIfTI when the name ends in
// ".gii", as PLY otherwise. Returns false with a message in `error` when the
// file cannot be written.
bool saveSurfaceFile(const HostSurface& surface, const char* path, GrowingText* error);

// Writes `contents` to the file at `path`, checking every write, the flush
// and the close. Returns false with a message in `error` when any fails.
bool writeWholeFile(const char* path, const GrowingText& contents, GrowingText* error);

// Loads the surface file at `path` into `surface`, whose file name becomes
// `path`: PLY, FreeSurfer or GIfTI, told from the content. Returns false
// with one line in `error` that names the file and what is wrong with it.
bool loadSurfaceFile(const char* path, HostSurface* surface, GrowingText* error);

// The record fields stored as "comment zandrovix" lines, in file order.
struct SurfaceField {
  const char* name;
  bool isFloat;
  int count;
  // Where the field lives in a HostSurface.
  size_t offset;
};
extern const SurfaceField kSurfaceFields[];
extern const int kSurfaceFieldCount;

// Appends the values of `field` in `surface`, each after a blank, as the
// "comment zandrovix" lines hold them.
void appendSurfaceFieldValues(GrowingText* out, const HostSurface& surface,
                              const SurfaceField& field);

// Reads one value of `field` from `text` (all of it) into the 4 bytes at
// `slot`. Returns false when `text` is not such a value.
bool parseSurfaceFieldValue(const char* text, const SurfaceField& field, char* slot);

}  // namespace standin
