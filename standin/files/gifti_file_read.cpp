// Reading GIfTI surfaces through libgiftiio; see gifti_library.h for how
// the library is handled.

#include <float.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "host/host_color_value.h"
#include "standin/files/gifti_library.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/surface_anatomy.h"

namespace standin {

namespace {

// Most bytes that gzip can give per byte of base64 text; a file whose arrays
// claim more holds no such data, and nothing that large is allocated.
const uint64_t kLargestExpansion = 1100;

const char* intentName(int intent) {
  return intent == NIFTI_INTENT_POINTSET ? "POINTSET" : "TRIANGLE";
}

// The array of `intent`, with two dimensions of which the second is 3.
bool findMeshArray(const gifti_image& image, int intent, const giiDataArray** found,
                   GrowingText* error) {
  *found = nullptr;
  for (int index = 0; index < image.numDA; ++index) {
    const giiDataArray* array = image.darray[index];
    if (array == nullptr || array->intent != intent) continue;
    if (array->num_dim != 2 || array->dims[1] != 3 || array->dims[0] < 0) {
      error->appendFormat("the %s array is not a list of triples", intentName(intent));
      return false;
    }
    *found = array;
    return true;
  }
  error->appendFormat("the file has no %s array", intentName(intent));
  return false;
}

bool isPerVertex(const giiDataArray& array, int32_t vertexCount, int columns) {
  if (array.dims[0] != vertexCount) return false;
  if (columns == 1) return array.num_dim == 1 || (array.num_dim == 2 && array.dims[1] == 1);
  return array.num_dim == 2 && array.dims[1] == columns;
}

// Element (row, column) of a two-dimensional array, in either index order.
size_t elementAt(const giiDataArray& array, size_t row, size_t column) {
  if (array.ind_ord == GIFTI_IND_ORD_COL_MAJOR)
    return column * static_cast<size_t>(array.dims[0]) + row;
  return row * static_cast<size_t>(array.num_dim > 1 ? array.dims[1] : 1) + column;
}

bool checkBeforeReading(const gifti_image& image, size_t fileSize, GrowingText* error) {
  uint64_t bytes = 0;
  for (int index = 0; index < image.numDA; ++index) {
    const giiDataArray* array = image.darray[index];
    if (array == nullptr) continue;
    if (array->encoding == GIFTI_ENCODING_EXTBIN) {
      error->appendFormat("array %d refers to an external data file, which is not read", index);
      return false;
    }
    if (array->encoding < GIFTI_ENCODING_ASCII || array->encoding > GIFTI_ENCODING_B64GZ) {
      error->appendFormat("array %d has an encoding that libgiftiio does not read", index);
      return false;
    }
    if (array->nbyper <= 0) {
      error->appendFormat("array %d has a data type that libgiftiio does not know", index);
      return false;
    }
    if (array->nvals < 0 || array->nvals > INT32_MAX) {
      error->appendFormat("array %d has impossible dimensions", index);
      return false;
    }
    bytes += static_cast<uint64_t>(array->nvals) * static_cast<uint64_t>(array->nbyper);
  }
  if (bytes > kLargestExpansion * fileSize + 4096) {
    error->appendFormat("the arrays claim %llu bytes, more than the file can hold",
                        static_cast<unsigned long long>(bytes));
    return false;
  }
  return true;
}

bool readPositions(const giiDataArray& array, HostSurface* surface, GrowingText* error) {
  if (array.datatype != NIFTI_TYPE_FLOAT32 && array.datatype != NIFTI_TYPE_FLOAT64) {
    error->append("the POINTSET array does not hold floats");
    return false;
  }
  for (size_t vertex = 0; vertex < static_cast<size_t>(surface->vertexCount); ++vertex) {
    for (size_t axis = 0; axis < 3; ++axis) {
      size_t at = elementAt(array, vertex, axis);
      float value = 0;
      if (array.datatype == NIFTI_TYPE_FLOAT32) {
        value = static_cast<const float*>(array.data)[at];
      } else {
        double wide = static_cast<const double*>(array.data)[at];
        // Out of a float's range is no coordinate either; kept infinite so
        // that the check of every coordinate names the vertex.
        value = isnan(wide) || fabs(wide) <= FLT_MAX ? static_cast<float>(wide)
                                                     : static_cast<float>(HUGE_VAL);
      }
      surface->positions[vertex * 3 + axis] = value;
    }
  }
  return true;
}

bool readTriangles(const giiDataArray& array, HostSurface* surface, GrowingText* error) {
  if (array.datatype != NIFTI_TYPE_INT32 && array.datatype != NIFTI_TYPE_UINT32) {
    error->append("the TRIANGLE array does not hold 32-bit integers");
    return false;
  }
  for (size_t triangle = 0; triangle < static_cast<size_t>(surface->triangleCount); ++triangle) {
    for (size_t corner = 0; corner < 3; ++corner) {
      uint32_t bits = static_cast<const uint32_t*>(array.data)[elementAt(array, triangle, corner)];
      // An unsigned index beyond INT32_MAX becomes negative: outside either way.
      surface->triangles[triangle * 3 + corner] = static_cast<int32_t>(bits);
    }
  }
  return true;
}

// The colour values: from a per-vertex INT32 array, else from an RGBA array
// of bytes or of floats from 0 to 1, else 0.
void readColors(const gifti_image& image, HostSurface* surface) {
  const giiDataArray* rgba = nullptr;
  for (int index = 0; index < image.numDA; ++index) {
    const giiDataArray* array = image.darray[index];
    if (array == nullptr || array->data == nullptr || array->intent == NIFTI_INTENT_TRIANGLE)
      continue;
    if (array->datatype == NIFTI_TYPE_INT32 && isPerVertex(*array, surface->vertexCount, 1)) {
      memcpy(surface->colors, array->data, static_cast<size_t>(surface->vertexCount) * 4);
      return;
    }
    if (rgba == nullptr && isPerVertex(*array, surface->vertexCount, 4) &&
        (array->datatype == NIFTI_TYPE_UINT8 || array->datatype == NIFTI_TYPE_FLOAT32)) {
      rgba = array;
    }
  }
  if (rgba == nullptr) return;
  for (size_t vertex = 0; vertex < static_cast<size_t>(surface->vertexCount); ++vertex) {
    uint32_t code = 0;
    for (size_t channel = 0; channel < 3; ++channel) {
      size_t at = elementAt(*rgba, vertex, channel);
      unsigned char byte = rgba->datatype == NIFTI_TYPE_UINT8
                               ? static_cast<const unsigned char*>(rgba->data)[at]
                               : colorByte(static_cast<const float*>(rgba->data)[at]);
      code = (code << 8) | byte;
    }
    surface->colors[vertex] = colorCodeOf(code);
  }
}

// The record fields kept in the file's metadata as "zandrovix.<field>".
bool readFields(const gifti_image& image, HostSurface* surface, GrowingText* error) {
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    char name[64];
    snprintf(name, sizeof(name), "%s%s", kGiftiFieldPrefix, field.name);
    const char* value = gifti_get_meta_value(&image.meta, name);
    if (value == nullptr) continue;
    char* base = reinterpret_cast<char*>(surface) + field.offset;
    const char* at = value;
    int read = 0;
    for (; read < field.count; ++read) {
      while (*at == ' ') ++at;
      char word[64];
      size_t length = strcspn(at, " ");
      if (length == 0 || length >= sizeof(word)) break;
      memcpy(word, at, length);
      word[length] = '\0';
      at += length;
      if (!parseSurfaceFieldValue(word, field, base + read * 4)) break;
    }
    while (*at == ' ') ++at;
    if (read != field.count || *at != '\0') {
      error->appendFormat("the metadata %s is not %d valid value(s)", name, field.count);
      return false;
    }
  }
  return true;
}

bool readSurface(const gifti_image& image, HostSurface* surface, GrowingText* error) {
  const giiDataArray* points = nullptr;
  const giiDataArray* triangles = nullptr;
  if (!findMeshArray(image, NIFTI_INTENT_POINTSET, &points, error) ||
      !findMeshArray(image, NIFTI_INTENT_TRIANGLE, &triangles, error)) {
    return false;
  }
  const giiDataArray* const meshArrays[2] = {points, triangles};
  for (const giiDataArray* array : meshArrays) {
    if (array->data == nullptr && array->dims[0] > 0) {
      error->appendFormat("the %s array holds no data libgiftiio could decode",
                          intentName(array->intent));
      return false;
    }
  }
  HostSurface fields;
  setSampleDisplayFields(&fields);
  if (!readFields(image, &fields, error)) return false;
  if (!allocateSurface(surface, points->dims[0], triangles->dims[0])) {
    error->append("out of memory");
    return false;
  }
  if (!readPositions(*points, surface, error) || !readTriangles(*triangles, surface, error))
    return false;
  if (!checkSurfaceMesh(*surface, error)) return false;
  readColors(image, surface);
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    memcpy(reinterpret_cast<char*>(surface) + field.offset,
           reinterpret_cast<const char*>(&fields) + field.offset,
           static_cast<size_t>(field.count) * 4);
  }
  // A file that the stand-in did not save keeps no record fields: its
  // display fields are made for its mesh. Its hemisphere is named in the
  // file's metadata or in the POINTSET array's.
  bool keepsFields = false;
  for (int index = 0; index < image.meta.length && !keepsFields; ++index) {
    const char* name = image.meta.name != nullptr ? image.meta.name[index] : nullptr;
    keepsFields =
        name != nullptr && strncmp(name, kGiftiFieldPrefix, strlen(kGiftiFieldPrefix)) == 0;
  }
  if (!keepsFields) setOwnDisplayFields(surface);
  const char* structure = gifti_get_meta_value(&image.meta, "AnatomicalStructurePrimary");
  if (structure == nullptr)
    structure = gifti_get_meta_value(&points->meta, "AnatomicalStructurePrimary");
  surface->hemisphere = hemisphereOfStructure(structure);
  return true;
}

// One reading of a file: the outline first, to check what the arrays claim
// before anything is decoded, then the whole file.
struct GiftiReading {
  const char* path;
  size_t fileSize;
  // Where the whole image goes, and why there is none; null to discard.
  GiftiImage* whole;
  GrowingText* error;
};

void readImages(void* context) {
  GiftiReading* reading = static_cast<GiftiReading*>(context);
  GiftiImage local;
  GiftiImage* whole = reading->whole != nullptr ? reading->whole : &local;
  GrowingText discarded;
  GrowingText* error = reading->error != nullptr ? reading->error : &discarded;
  GiftiImage outline;
  {
    QuietStandardError quiet;
    outline.image = gifti_read_image(reading->path, 0);
  }
  if (outline.image == nullptr) {
    error->append("not a valid GIfTI file (libgiftiio cannot parse it)");
    return;
  }
  if (!checkBeforeReading(*outline.image, reading->fileSize, error)) return;
  {
    QuietStandardError quiet;
    whole->image = gifti_read_image(reading->path, 1);
  }
  if (whole->image == nullptr)
    error->append("not a valid GIfTI file (libgiftiio cannot decode its data)");
}

}  // namespace

bool loadSurfaceGifti(const char* path, HostSurface* surface, GrowingText* error) {
  releaseSurface(surface);
  GrowingText contents;
  if (!readFile(path, &contents)) {
    error->append("cannot be read");
    return false;
  }
  if (namesExternalFile(reinterpret_cast<const unsigned char*>(contents.text()),
                        contents.length())) {
    error->append("the GIfTI file refers to an external data file, which is not read");
    return false;
  }
  // libgiftiio reads files only, so a file with legacy values is read
  // through a modernised copy.
  TemporaryFile copy;
  GrowingText modern;
  if (moderniseGiftiValues(contents, &modern)) {
    if (!copy.write(modern)) {
      error->append("cannot make a temporary copy to read its legacy GIfTI values");
      return false;
    }
    path = copy.path();
  }
  // libgiftiio's parser crashes on some malformed files; a child process
  // tries the file first, so that such a file is refused instead.
  GiftiReading trial = {path, contents.length(), nullptr, nullptr};
  if (!survivesInChild(readImages, &trial)) {
    error->append("not a valid GIfTI file (it crashes libgiftiio's parser)");
    return false;
  }
  GiftiImage whole;
  GrowingText reason;
  GiftiReading reading = {path, contents.length(), &whole, &reason};
  readImages(&reading);
  if (whole.image == nullptr) {
    error->append(reason.text());
    return false;
  }
  if (!checkBeforeReading(*whole.image, contents.length(), error) ||
      !readSurface(*whole.image, surface, error)) {
    releaseSurface(surface);
    return false;
  }
  return true;
}

}  // namespace standin
