#pragma once

// The surface file formats that the stand-in host reads and writes, in one
// table: each format is a row with its name, how a file is told to be one
// from its first bytes, how it is loaded and how it is saved. Loading,
// choosing the format for a save and the error messages all read the table.
// A new format is a file of its own defining its row, that row in the table
// (surface_formats.cpp) and its file in CMakeLists.txt.
//
// - PLY, binary little-endian (ply_format.cpp), which common mesh viewers
//   open whatever the file's extension; the format saved unless a name asks
//   for another:
//     element vertex N: float x, y, z; uchar red, green, blue; int zv_color
//     element face M:   list uchar int vertex_indices (triangles)
//   zv_color is the exact stored colour value; red, green and blue are for
//   viewers, the colour the vertex is shown in (standin/mesh/shown_color.h).
//   Every other record field is a header line
//   "comment zandrovix <field> <values>".
// - FreeSurfer triangle surfaces (lh.pial, rh.white, ...; freesurfer_file.cpp),
//   read only: the bytes FF FF FE, a "created by" line ended by one or two
//   line feeds, the vertex and triangle counts, x, y, z of each vertex and the
//   three corners of each triangle, all big-endian 32-bit; whatever follows
//   (the volume information, tags) is ignored. Quad surfaces (FF FF FF) are
//   told apart and refused.
// - GIfTI (.gii, .surf.gii; gifti_format.cpp): read with expat and zlib
//   (gifti_file_read.cpp), written through libgiftiio, in native builds only;
//   the Windows build says that it cannot.

#include <stddef.h>

#include "standin/base/growing_text.h"
#include "standin/mesh/host_surface.h"

namespace standin {

struct SurfaceFormat {
  // As error messages name it: "PLY".
  const char* name;
  // The end of a file name (any letter case) that asks for this format when
  // saving; null for the format saved otherwise, or one never chosen by name.
  const char* saveNameEnding;
  // Whether `data` (all of a file, or at least its first 4096 bytes) is a
  // file of this format.
  bool (*recognise)(const unsigned char* data, size_t size);
  // Reads the file at `path`, whose bytes are `data`, into `surface`
  // (replacing it; the file name unset). Returns false with a message in
  // `error`, and `surface` empty, when it is not a valid file.
  bool (*load)(const char* path, const unsigned char* data, size_t size, HostSurface* surface,
               GrowingText* error);
  // Writes `surface` to `path`; null for a format that is only read.
  bool (*save)(const HostSurface& surface, const char* path, GrowingText* error);
};

// The rows, each defined in its format's file.
extern const SurfaceFormat kPlyFormat;
extern const SurfaceFormat kFreeSurferFormat;
extern const SurfaceFormat kGiftiFormat;

// The table, in the order the formats are named.
extern const SurfaceFormat* const kSurfaceFormats[];
extern const int kSurfaceFormatCount;

// The format whose content `data` is, or null for none.
const SurfaceFormat* surfaceFormatOfContent(const unsigned char* data, size_t size);

// The format a surface saved under `path` is written in: the one whose
// saveNameEnding the name ends in, else the first that saves without one.
const SurfaceFormat& surfaceFormatForName(const char* path);

// Appends the formats' names as a list, the last two joined by `lastJoin`
// (" or ": "PLY, FreeSurfer or GIfTI"), leaving out `except` if given.
void appendSurfaceFormatNames(GrowingText* out, const char* lastJoin,
                              const SurfaceFormat* except = nullptr);

// Appends `surface` as a PLY file to `out`. The file name is not stored.
// Returns false when memory runs out.
bool encodeSurfacePly(const HostSurface& surface, GrowingText* out);

// Reads the PLY file in `data` into `surface` (replacing it; the file name
// is left unset). Accepts any binary little-endian PLY file whose vertices
// have x, y and z and whose faces are triangles; fields without a
// "comment zandrovix" line take the sample surface's values, and colours
// without zv_color come from red, green and blue, or are 0. Returns false
// with a message in `error`, and `surface` empty, when the file is not such
// a file.
bool decodeSurfacePly(const unsigned char* data, size_t size, HostSurface* surface,
                      GrowingText* error);

// Reads the FreeSurfer triangle surface in `data` into `surface` (replacing
// it; display fields of its own, as setOwnDisplayFields makes them, every
// colour value 0, the file name and hemisphere unset). Returns false with a
// message in `error`, and `surface` empty, when `data` is not a complete,
// valid triangle surface. Loaded through the table, the surface's hemisphere
// is the one the file's name gives.
bool decodeSurfaceFreeSurfer(const unsigned char* data, size_t size, HostSurface* surface,
                             GrowingText* error);

// Whether this build reads and writes GIfTI files.
extern const bool kGiftiAvailable;

// Reads the GIfTI file in `data` into `surface` (replacing it; the file name
// unset): the POINTSET and TRIANGLE arrays, the colour values from a
// per-vertex INT32 array, or from an RGBA array when there is none, and the
// record fields kept in the file's metadata (the sample surface's values for
// those missing; display fields of its own, as setOwnDisplayFields makes
// them, when it keeps none), and the hemisphere that its
// AnatomicalStructurePrimary metadata names, in the file's or the POINTSET
// array's metadata. Returns false with one line in `error`, and `surface`
// empty, for a file that is not such a file, whose arrays hold more or less
// data than their dimensions give, refers to an external data file, or when
// the build has no GIfTI.
bool decodeSurfaceGifti(const unsigned char* data, size_t size, HostSurface* surface,
                        GrowingText* error);

// Writes `surface` to `path` as GIfTI: the POINTSET and TRIANGLE arrays, an
// INT32 array of the exact colour values, an RGBA array of the colours the
// vertices are shown in, for viewers, and the
// other record fields in the metadata. Returns false with a message in
// `error` when the file cannot be written or the build has no GIfTI.
bool saveSurfaceGifti(const HostSurface& surface, const char* path, GrowingText* error);

}  // namespace standin
