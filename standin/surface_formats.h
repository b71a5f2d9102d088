#pragma once

// The surface file formats that the stand-in host reads besides its own PLY
// files, and how a file's format is told from its first bytes.
//
// - FreeSurfer triangle surfaces (lh.pial, rh.white, ...): the bytes
//   FF FF FE, a "created by" line ended by one or two line feeds, the vertex
//   and triangle counts, x, y, z of each vertex and the three corners of each
//   triangle, all big-endian 32-bit; whatever follows (the volume
//   information, tags) is ignored.
// - GIfTI (.gii, .surf.gii): read with expat and zlib, written through
//   libgiftiio, in native builds only; the Windows build says that it cannot.

#include <stddef.h>
#include <stdint.h>

#include "standin/growing_text.h"
#include "standin/host_surface.h"

namespace standin {

enum class SurfaceFileType { kPly, kFreeSurfer, kFreeSurferQuad, kGifti, kUnknown };

// Tells the format of the file whose first bytes are `data` (all of the
// file, or at least its first 256 bytes) from its content alone.
SurfaceFileType detectSurfaceFileType(const unsigned char* data, size_t size);

// Whether a surface saved under `path` is written as GIfTI: the name ends in
// ".gii", in any letter case.
bool nameAsksForGifti(const char* path);

// Whether `surface` is a mesh the host can use: every coordinate a finite
// number, every triangle corner one of its vertices. Otherwise appends to
// `error` the first vertex or triangle that is not.
bool checkSurfaceMesh(const HostSurface& surface, GrowingText* error);

// The most vertices and triangles of a surface the host loads, in every
// format: beyond any cortex, and within what a test machine's memory holds.
constexpr int64_t kMostSurfaceVertices = int64_t{1} << 26;
constexpr int64_t kMostSurfaceTriangles = int64_t{1} << 27;

// Whether a surface file's declared counts are within those limits, checked
// before anything is allocated. Otherwise appends one line to `error`.
bool checkSurfaceSize(int64_t vertices, int64_t triangles, GrowingText* error);

// Reads the FreeSurfer triangle surface in `data` into `surface` (replacing
// it; the display fields are the sample surface's, every colour value 0, the
// file name unset). Returns false with a message in `error`, and `surface`
// empty, when `data` is not a complete, valid triangle surface.
bool decodeSurfaceFreeSurfer(const unsigned char* data, size_t size, HostSurface* surface,
                             GrowingText* error);

// Whether this build reads and writes GIfTI files.
extern const bool kGiftiAvailable;

// Reads the GIfTI file in `data` into `surface` (replacing it; the file name
// unset): the POINTSET and TRIANGLE arrays, the colour values from a
// per-vertex INT32 array, or from an RGBA array when there is none, and the
// record fields kept in the file's metadata (the sample surface's values for
// those missing). Returns false with one line in `error`, and `surface`
// empty, for a file that is not such a file, whose arrays hold more or less
// data than their dimensions give, refers to an external data file, or when
// the build has no GIfTI.
bool decodeSurfaceGifti(const unsigned char* data, size_t size, HostSurface* surface,
                        GrowingText* error);

// Writes `surface` to `path` as GIfTI: the POINTSET and TRIANGLE arrays, an
// INT32 array of the exact colour values, an RGBA array for viewers, and the
// other record fields in the metadata. Returns false with a message in
// `error` when the file cannot be written or the build has no GIfTI.
bool saveSurfaceGifti(const HostSurface& surface, const char* path, GrowingText* error);

}  // namespace standin
