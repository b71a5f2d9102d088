#pragma once

// The surface file formats that the stand-in host reads besides its own PLY
// files, and how a file's format is told from its first bytes.
//
// - FreeSurfer triangle surfaces (lh.pial, rh.white, ...): the bytes
//   FF FF FE, a "created by" line ended by one or two line feeds, the vertex
//   and triangle counts, x, y, z of each vertex and the three corners of each
//   triangle, all big-endian 32-bit; whatever follows (the volume
//   information, tags) is ignored.
// - GIfTI (.gii, .surf.gii): read and written through libgiftiio, in native
//   builds only; the Windows build says that it cannot.

#include <stddef.h>

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

// Reads the FreeSurfer triangle surface in `data` into `surface` (replacing
// it; display fields of its own, as setOwnDisplayFields makes them, every
// colour value 0, the file name and hemisphere unset). Returns false with a message in `error`, and `surface`
// empty, when `data` is not a complete, valid triangle surface.
bool decodeSurfaceFreeSurfer(const unsigned char* data, size_t size, HostSurface* surface,
                             GrowingText* error);

// Whether this build reads and writes GIfTI files.
extern const bool kGiftiAvailable;

// Reads the GIfTI file at `path` into `surface` (replacing it; the file name
// unset): the POINTSET and TRIANGLE arrays, the colour values from a
// per-vertex INT32 array, or from an RGBA array when there is none, and the
// record fields kept in the file's metadata (the sample surface's values for
// those missing; display fields of its own, as setOwnDisplayFields makes
// them, when it keeps none), and the hemisphere that its
// AnatomicalStructurePrimary metadata names, in the file's or the POINTSET
// array's metadata. Returns false with a message in `error`, and `surface`
// empty, for a file that is not such a file, refers to an external data
// file, or when the build has no GIfTI.
bool loadSurfaceGifti(const char* path, HostSurface* surface, GrowingText* error);

// Writes `surface` to `path` as GIfTI: the POINTSET and TRIANGLE arrays, an
// INT32 array of the exact colour values, an RGBA array for viewers, and the
// other record fields in the metadata. Returns false with a message in
// `error` when the file cannot be written or the build has no GIfTI.
bool saveSurfaceGifti(const HostSurface& surface, const char* path, GrowingText* error);

}  // namespace standin
