#pragma once

// The DataArrays of a GIfTI file as the reader meets them: what each
// array's attributes declare, its decoded values while the surface may use
// them, and the surface made from them at the end.

#include <expat.h>
#include <stddef.h>
#include <stdint.h>

#include "standin/base/growing_text.h"
#include "standin/files/gifti_array_data.h"
#include "standin/mesh/host_surface.h"

namespace standin {

enum class GiftiIntent { kPointSet, kTriangle, kOther };

// The data types the surface can use; the others are read and set aside.
enum class GiftiType { kUint8, kInt32, kUint32, kFloat32, kFloat64, kOther };

struct GiftiArray {
  // Its place among the file's arrays, from 0.
  int index;
  GiftiIntent intent;
  GiftiType type;
  GiftiValueLayout layout;
  int dimensionCount;
  int64_t dimensions[6];
  bool columnMajor;
  GiftiEncoding encoding;
  bool bigEndian;
  // The values, in this machine's byte order: `bytes` long, as the
  // dimensions give; null once set aside.
  size_t bytes;
  unsigned char* data;
};

// The arrays read so far, in file order.
class GiftiArrays {
 public:
  GiftiArrays() = default;
  ~GiftiArrays();
  GiftiArrays(const GiftiArrays&) = delete;
  GiftiArrays& operator=(const GiftiArrays&) = delete;

  // A new last array, zeroed but for its index; null when memory runs out.
  // Earlier arrays stay where they are only until the next add.
  GiftiArray* add();
  int count() const { return count_; }
  GiftiArray& at(int index) { return arrays_[index]; }
  const GiftiArray& at(int index) const { return arrays_[index]; }
  // The first array of `intent`, or null.
  const GiftiArray* first(GiftiIntent intent) const;
  GiftiArray* first(GiftiIntent intent);
  // Frees the values of array `index` unless the surface may use them: the
  // first POINTSET and TRIANGLE arrays, and every array that may hold the
  // colours.
  void keepIfUsed(int index);

 private:
  GiftiArray* arrays_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
};

// Reads the attributes of a DataArray into `array`. Returns false with one
// line in `error` when they declare no array the reader can decode.
bool describeGiftiArray(const XML_Char** attributes, GiftiArray* array, GrowingText* error);

// Checks the shape and type of `array` when it is the first POINTSET or
// TRIANGLE array of `arrays`, and the surface's size limits. Returns false
// with one line in `error` when the surface could not use it.
bool checkMeshArray(const GiftiArrays& arrays, const GiftiArray& array, GrowingText* error);

// Gives `array` its buffer of `bytes`, not zeroed: the decoder fills all of
// it or refuses the array. Returns false with a message in `error` when
// memory runs out.
bool allocateGiftiArray(GiftiArray* array, GrowingText* error);

// Makes `surface` from the arrays: the POINTSET and TRIANGLE arrays, the
// colour values from the first per-vertex INT32 array, else from the first
// RGBA array of bytes or of floats from 0 to 1, else 0; the record fields
// from `fields`. Buffers that hold the values as the surface does become
// the surface's. Returns false with one line in `error` when they make no
// surface the host can use.
bool buildGiftiSurface(GiftiArrays* arrays, const HostSurface& fields, HostSurface* surface,
                       GrowingText* error);

}  // namespace standin
