// GIfTI surface files, read and written through libgiftiio. Compiled only
// in builds that have the library (the native ones, on POSIX systems).
//
// libgiftiio writes its own complaints to standard error whatever its
// verbosity, and reads an array's external data file as soon as it parses
// the array, so: standard error is quiet around every call, and a file
// whose arrays name an external data file is refused before it is parsed.

#include <float.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

extern "C" {
#include <gifti_io.h>
}

#include "standin/surface_file.h"
#include "standin/surface_formats.h"

namespace standin {

const bool kGiftiAvailable = true;

namespace {

const char* const kFieldPrefix = "zandrovix.";
const char* const kColourValuesName = "zandrovix colour values";
const char* const kViewerColoursName = "zandrovix viewer colours";
const uint32_t kColourCodeTag = 0x3F000000u;
// Most bytes that gzip can give per byte of base64 text; a file whose arrays
// claim more holds no such data, and nothing that large is allocated.
const uint64_t kLargestExpansion = 1100;

// Keeps standard error quiet while it lives.
class QuietStandardError {
 public:
  QuietStandardError() {
    fflush(stderr);
    saved_ = dup(2);
    int sink = openNull();
    if (saved_ >= 0 && sink >= 0) dup2(sink, 2);
    if (sink >= 0) close(sink);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  static int openNull() {
    FILE* sink = fopen("/dev/null", "w");
    if (sink == nullptr) return -1;
    int descriptor = dup(fileno(sink));
    fclose(sink);
    return descriptor;
  }
  int saved_;
};

struct GiftiImage {
  gifti_image* image = nullptr;
  ~GiftiImage() {
    if (image != nullptr) {
      QuietStandardError quiet;
      gifti_free_image(image);
    }
  }
};

// Whether an attribute ExternalFileName with a value that is not empty
// occurs in the XML text: attribute names cannot be escaped, so this finds
// every one.
bool namesExternalFile(const unsigned char* data, size_t size) {
  static const char kAttribute[] = "ExternalFileName";
  const size_t length = sizeof(kAttribute) - 1;
  for (size_t at = 0; at + length <= size; ++at) {
    if (memcmp(data + at, kAttribute, length) != 0) continue;
    size_t next = at + length;
    while (next < size && (data[next] == ' ' || data[next] == '\t' || data[next] == '\r' ||
                           data[next] == '\n' || data[next] == '='))
      ++next;
    if (next + 1 < size && (data[next] == '"' || data[next] == '\'') &&
        data[next + 1] == data[next]) {
      continue;
    }
    return true;
  }
  return false;
}

const char* intentName(int intent) {
  return intent == NIFTI_INTENT_POINTSET ? "POINTSET" : "TRIANGLE";
}

// The array of `intent`, with two dimensions of which the second is 3.
bool findMeshArray(const gifti_image& image, int intent, const giiDataArray** found,
                   TextBuffer* error) {
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

bool checkBeforeReading(const gifti_image& image, size_t fileSize, TextBuffer* error) {
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
    if (array->nvals < 0 || array->nbyper <= 0 || array->nvals > INT32_MAX) {
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

bool readPositions(const giiDataArray& array, HostSurface* surface, TextBuffer* error) {
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

bool readTriangles(const giiDataArray& array, HostSurface* surface, TextBuffer* error) {
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

unsigned char colourByte(float component) {
  if (!(component > 0.0f)) return 0;
  if (component >= 1.0f) return 255;
  return static_cast<unsigned char>(component * 255.0f + 0.5f);
}

// The colour values: from a per-vertex INT32 array, else from an RGBA array
// of bytes or of floats from 0 to 1, else 0.
void readColours(const gifti_image& image, HostSurface* surface) {
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
                               : colourByte(static_cast<const float*>(rgba->data)[at]);
      code = (code << 8) | byte;
    }
    surface->colors[vertex] = static_cast<int32_t>(kColourCodeTag | code);
  }
}

// The record fields kept in the file's metadata as "zandrovix.<field>".
bool readFields(const gifti_image& image, HostSurface* surface, TextBuffer* error) {
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    char name[64];
    snprintf(name, sizeof(name), "%s%s", kFieldPrefix, field.name);
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

bool readSurface(const gifti_image& image, HostSurface* surface, TextBuffer* error) {
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
  int32_t bad = 0;
  if (!positionsAreFinite(*surface, &bad)) {
    error->appendFormat("vertex %d has a coordinate that is not a finite number", bad);
    return false;
  }
  if (!trianglesAreInside(*surface, &bad)) {
    error->appendFormat("triangle %d has a corner outside the %d vertices", bad,
                        surface->vertexCount);
    return false;
  }
  readColours(image, surface);
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    memcpy(reinterpret_cast<char*>(surface) + field.offset,
           reinterpret_cast<const char*>(&fields) + field.offset,
           static_cast<size_t>(field.count) * 4);
  }
  return true;
}

// What viewers show for a stored value: the colour itself for a colour
// code (top byte 0x3F), the convex colour for 0, the concave colour for 1
// and halfway between them for any other value.
void viewerColour(const HostSurface& surface, int32_t stored, unsigned char* rgba) {
  uint32_t value = static_cast<uint32_t>(stored);
  rgba[3] = 255;
  if ((value & 0xFF000000u) == kColourCodeTag) {
    rgba[0] = static_cast<unsigned char>((value >> 16) & 0xFF);
    rgba[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    rgba[2] = static_cast<unsigned char>(value & 0xFF);
    return;
  }
  for (int channel = 0; channel < 3; ++channel) {
    unsigned char convex = colourByte(surface.convexColor[channel]);
    unsigned char concave = colourByte(surface.concaveColor[channel]);
    rgba[channel] = stored == 0   ? convex
                    : stored == 1 ? concave
                                  : static_cast<unsigned char>((convex + concave + 1) / 2);
  }
}

// Sets `array` to `intent` and `datatype` with `rows` x `columns` values
// (one dimension when `columns` is 0), row-major, compressed, in this
// machine's byte order, and gives it zeroed data.
bool shapeArray(giiDataArray* array, int intent, int datatype, int32_t rows, int columns,
                const char* name) {
  gifti_set_DA_defaults(array);
  array->intent = intent;
  array->datatype = datatype;
  int swapsize = 0;
  gifti_datatype_sizes(datatype, &array->nbyper, &swapsize);
  array->ind_ord = GIFTI_IND_ORD_ROW_MAJOR;
  array->num_dim = columns > 0 ? 2 : 1;
  array->dims[0] = rows;
  array->dims[1] = columns > 0 ? columns : 0;
  array->nvals = static_cast<long long>(rows) * (columns > 0 ? columns : 1);
  array->encoding = GIFTI_ENCODING_B64GZ;
  array->endian = gifti_get_this_endian();
  size_t bytes = static_cast<size_t>(array->nvals) * static_cast<size_t>(array->nbyper);
  array->data = calloc(bytes > 0 ? bytes : 1, 1);
  if (array->data == nullptr) return false;
  return name == nullptr || gifti_add_to_meta(&array->meta, "Name", name, 1) == 0;
}

bool buildImage(const HostSurface& surface, gifti_image* image) {
  if (gifti_add_empty_darray(image, 4) != 0) return false;
  giiDataArray** arrays = image->darray;
  int32_t vertices = surface.vertexCount;
  if (!shapeArray(arrays[0], NIFTI_INTENT_POINTSET, NIFTI_TYPE_FLOAT32, vertices, 3, nullptr) ||
      !shapeArray(arrays[1], NIFTI_INTENT_TRIANGLE, NIFTI_TYPE_INT32, surface.triangleCount, 3,
                  nullptr) ||
      !shapeArray(arrays[2], NIFTI_INTENT_NONE, NIFTI_TYPE_INT32, vertices, 0, kColourValuesName) ||
      !shapeArray(arrays[3], NIFTI_INTENT_RGBA_VECTOR, NIFTI_TYPE_UINT8, vertices, 4,
                  kViewerColoursName)) {
    return false;
  }
  size_t count = static_cast<size_t>(vertices);
  memcpy(arrays[0]->data, surface.positions, count * 3 * sizeof(float));
  memcpy(arrays[1]->data, surface.triangles,
         static_cast<size_t>(surface.triangleCount) * 3 * sizeof(int32_t));
  memcpy(arrays[2]->data, surface.colors, count * sizeof(int32_t));
  unsigned char* rgba = static_cast<unsigned char*>(arrays[3]->data);
  for (size_t vertex = 0; vertex < count; ++vertex) {
    viewerColour(surface, surface.colors[vertex], rgba + vertex * 4);
  }
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    TextBuffer name;
    TextBuffer value;
    name.appendFormat("%s%s", kFieldPrefix, field.name);
    appendSurfaceFieldValues(&value, surface, field);
    // The values each follow a blank; the first blank is not kept.
    if (gifti_add_to_meta(&image->meta, name.text(), value.text() + 1, 1) != 0) return false;
  }
  return true;
}

}  // namespace

bool loadSurfaceGifti(const char* path, HostSurface* surface, TextBuffer* error) {
  releaseSurface(surface);
  TextBuffer contents;
  if (!readFile(path, &contents)) {
    error->append("cannot be read");
    return false;
  }
  if (namesExternalFile(reinterpret_cast<const unsigned char*>(contents.text()),
                        contents.length())) {
    error->append("the GIfTI file refers to an external data file, which is not read");
    return false;
  }
  GiftiImage outline;
  {
    QuietStandardError quiet;
    outline.image = gifti_read_image(path, 0);
  }
  if (outline.image == nullptr) {
    error->append("not a valid GIfTI file (libgiftiio cannot parse it)");
    return false;
  }
  if (!checkBeforeReading(*outline.image, contents.length(), error)) return false;
  GiftiImage whole;
  {
    QuietStandardError quiet;
    whole.image = gifti_read_image(path, 1);
  }
  if (whole.image == nullptr) {
    error->append("not a valid GIfTI file (libgiftiio cannot decode its data)");
    return false;
  }
  if (!checkBeforeReading(*whole.image, contents.length(), error) ||
      !readSurface(*whole.image, surface, error)) {
    releaseSurface(surface);
    return false;
  }
  return true;
}

bool saveSurfaceGifti(const HostSurface& surface, const char* path, TextBuffer* error) {
  GiftiImage image;
  bool built = false;
  {
    QuietStandardError quiet;
    image.image = gifti_create_image(0, NIFTI_INTENT_NONE, NIFTI_TYPE_FLOAT32, 0, nullptr, 0);
    built = image.image != nullptr && buildImage(surface, image.image);
  }
  if (!built) {
    error->appendFormat("cannot write \"%s\": out of memory", path);
    return false;
  }
  int written = 0;
  {
    QuietStandardError quiet;
    written = gifti_write_image(image.image, path, 1);
  }
  if (written != 0) {
    error->appendFormat("cannot write \"%s\"", path);
    return false;
  }
  return true;
}

}  // namespace standin
