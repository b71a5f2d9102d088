// The DataArrays of a GIfTI file and the surface made of them; see
// gifti_surface_arrays.h.

#include "standin/files/gifti_surface_arrays.h"

#include <stdlib.h>
#include <string.h>

#include "host/host_color_value.h"
#include "standin/files/gifti_ascii_numbers.h"
#include "standin/files/gifti_common.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/shown_color.h"

namespace standin {

namespace {

struct TypeName {
  const char* name;
  GiftiType type;
  GiftiValueLayout layout;
};

const TypeName kTypes[] = {
    {"NIFTI_TYPE_UINT8", GiftiType::kUint8, {GiftiNumberKind::kUnsigned, 1, 1}},
    {"NIFTI_TYPE_INT16", GiftiType::kOther, {GiftiNumberKind::kSigned, 2, 2}},
    {"NIFTI_TYPE_INT32", GiftiType::kInt32, {GiftiNumberKind::kSigned, 4, 4}},
    {"NIFTI_TYPE_FLOAT32", GiftiType::kFloat32, {GiftiNumberKind::kFloat, 4, 4}},
    {"NIFTI_TYPE_COMPLEX64", GiftiType::kOther, {GiftiNumberKind::kNotAscii, 8, 4}},
    {"NIFTI_TYPE_FLOAT64", GiftiType::kFloat64, {GiftiNumberKind::kFloat, 8, 8}},
    {"NIFTI_TYPE_RGB24", GiftiType::kOther, {GiftiNumberKind::kNotAscii, 3, 0}},
    {"NIFTI_TYPE_INT8", GiftiType::kOther, {GiftiNumberKind::kSigned, 1, 1}},
    {"NIFTI_TYPE_UINT16", GiftiType::kOther, {GiftiNumberKind::kUnsigned, 2, 2}},
    {"NIFTI_TYPE_UINT32", GiftiType::kUint32, {GiftiNumberKind::kUnsigned, 4, 4}},
    {"NIFTI_TYPE_INT64", GiftiType::kOther, {GiftiNumberKind::kSigned, 8, 8}},
    {"NIFTI_TYPE_UINT64", GiftiType::kOther, {GiftiNumberKind::kUnsigned, 8, 8}},
    {"NIFTI_TYPE_FLOAT128", GiftiType::kOther, {GiftiNumberKind::kNotAscii, 16, 16}},
    {"NIFTI_TYPE_COMPLEX128", GiftiType::kOther, {GiftiNumberKind::kNotAscii, 16, 8}},
    {"NIFTI_TYPE_COMPLEX256", GiftiType::kOther, {GiftiNumberKind::kNotAscii, 32, 16}},
    {"NIFTI_TYPE_RGBA32", GiftiType::kOther, {GiftiNumberKind::kNotAscii, 4, 0}},
};

// The encodings, also under the names that early GIfTI writers gave them.
enum class Encoding { kAscii, kBase64Binary, kGzipBase64Binary, kExternal, kUnknown };
const struct {
  const char* name;
  Encoding encoding;
} kEncodings[] = {
    {"ASCII", Encoding::kAscii},
    {"Base64Binary", Encoding::kBase64Binary},
    {"GZipBase64Binary", Encoding::kGzipBase64Binary},
    {"ExternalFileBinary", Encoding::kExternal},
    {"GIFTI_ENCODING_ASCII", Encoding::kAscii},
    {"GIFTI_ENCODING_B64BIN", Encoding::kBase64Binary},
    {"GIFTI_ENCODING_B64GZ", Encoding::kGzipBase64Binary},
    {"GIFTI_ENCODING_EXTBIN", Encoding::kExternal},
};

// The attributes of a DataArray that the reader uses, as given.
struct Attributes {
  const char* intent = nullptr;
  const char* dataType = nullptr;
  const char* indexOrder = nullptr;
  const char* dimensionality = nullptr;
  const char* dimensions[6] = {};
  const char* encoding = nullptr;
  const char* endian = nullptr;
  const char* externalFile = nullptr;
};

void gather(const XML_Char** attributes, Attributes* found) {
  static const char* const kDimensionNames[6] = {"Dim0", "Dim1", "Dim2", "Dim3", "Dim4", "Dim5"};
  for (const XML_Char** pair = attributes; pair[0] != nullptr; pair += 2) {
    const char* name = pair[0];
    const char* value = pair[1];
    if (strcmp(name, "Intent") == 0) found->intent = value;
    if (strcmp(name, "DataType") == 0) found->dataType = value;
    if (strcmp(name, "ArrayIndexingOrder") == 0) found->indexOrder = value;
    if (strcmp(name, "Dimensionality") == 0) found->dimensionality = value;
    if (strcmp(name, "Encoding") == 0) found->encoding = value;
    if (strcmp(name, "Endian") == 0) found->endian = value;
    if (strcmp(name, "ExternalFileName") == 0) found->externalFile = value;
    for (int axis = 0; axis < 6; ++axis) {
      if (strcmp(name, kDimensionNames[axis]) == 0) found->dimensions[axis] = value;
    }
  }
}

bool isBlank(char character) {
  return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

// A count from 0 to INT32_MAX after any blanks, and whatever follows it,
// as the GIfTI library read dimensions; -1 without one.
int64_t parseCount(const char* text) {
  if (text == nullptr) return -1;
  while (isBlank(*text)) ++text;
  if (*text == '+') ++text;
  if (*text < '0' || *text > '9') return -1;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT32_MAX) return -1;
  }
  return value;
}

bool readDimensions(const Attributes& found, GiftiArray* array) {
  int64_t count = parseCount(found.dimensionality);
  if (count < 1 || count > 6) return false;
  array->dimensionCount = static_cast<int>(count);
  uint64_t values = 1;
  for (int axis = 0; axis < array->dimensionCount; ++axis) {
    int64_t size = parseCount(found.dimensions[axis]);
    if (size < 0) return false;
    array->dimensions[axis] = size;
    values *= static_cast<uint64_t>(size);
    if (values > INT32_MAX) return false;
  }
  array->bytes = static_cast<size_t>(values) * static_cast<size_t>(array->layout.size);
  return true;
}

const char* intentName(GiftiIntent intent) {
  return intent == GiftiIntent::kPointSet ? "POINTSET" : "TRIANGLE";
}

bool isPerVertex(const GiftiArray& array, int64_t vertexCount, int columns) {
  if (array.dimensions[0] != vertexCount) return false;
  if (columns == 1) {
    return array.dimensionCount == 1 || (array.dimensionCount == 2 && array.dimensions[1] == 1);
  }
  return array.dimensionCount == 2 && array.dimensions[1] == columns;
}

// Whether `array` may give the colour values once the vertex count is known.
bool mayHoldColors(const GiftiArray& array) {
  if (array.intent == GiftiIntent::kTriangle) return false;
  if (array.type == GiftiType::kInt32) return isPerVertex(array, array.dimensions[0], 1);
  return (array.type == GiftiType::kUint8 || array.type == GiftiType::kFloat32) &&
         isPerVertex(array, array.dimensions[0], 4);
}

// Element (row, column) of a two-dimensional array, in either index order.
size_t elementAt(const GiftiArray& array, size_t row, size_t column) {
  if (array.columnMajor) return column * static_cast<size_t>(array.dimensions[0]) + row;
  return row * static_cast<size_t>(array.dimensionCount > 1 ? array.dimensions[1] : 1) + column;
}

template <typename Value>
Value valueAt(const GiftiArray& array, size_t row, size_t column) {
  Value value;
  memcpy(&value, array.data + elementAt(array, row, column) * sizeof(Value), sizeof(Value));
  return value;
}

// Takes the buffer of `array` as `*values` when it holds them as they are
// (nothing to convert or reorder), instead of copying it.
template <typename Value>
bool takeBuffer(GiftiArray* array, Value** values) {
  if (array->columnMajor || array->data == nullptr) return false;
  free(*values);
  *values = reinterpret_cast<Value*>(array->data);
  array->data = nullptr;
  return true;
}

void readPositions(GiftiArray* array, HostSurface* surface) {
  if (array->type == GiftiType::kFloat32 && takeBuffer(array, &surface->positions)) return;
  const size_t count = static_cast<size_t>(surface->vertexCount);
  for (size_t vertex = 0; vertex < count; ++vertex) {
    for (size_t axis = 0; axis < 3; ++axis) {
      surface->positions[vertex * 3 + axis] =
          array->type == GiftiType::kFloat32
              ? valueAt<float>(*array, vertex, axis)
              : narrowedToFloat(valueAt<double>(*array, vertex, axis));
    }
  }
}

// An unsigned index beyond INT32_MAX becomes negative: outside either way.
void readTriangles(GiftiArray* array, HostSurface* surface) {
  if (takeBuffer(array, &surface->triangles)) return;
  const size_t count = static_cast<size_t>(surface->triangleCount);
  for (size_t triangle = 0; triangle < count; ++triangle) {
    for (size_t corner = 0; corner < 3; ++corner) {
      surface->triangles[triangle * 3 + corner] = valueAt<int32_t>(*array, triangle, corner);
    }
  }
}

void readColors(const GiftiArrays& arrays, HostSurface* surface) {
  const GiftiArray* rgba = nullptr;
  const int32_t vertices = surface->vertexCount;
  for (int index = 0; index < arrays.count(); ++index) {
    const GiftiArray& array = arrays.at(index);
    if (array.data == nullptr || array.intent == GiftiIntent::kTriangle) continue;
    if (array.type == GiftiType::kInt32 && isPerVertex(array, vertices, 1)) {
      if (vertices > 0) memcpy(surface->colors, array.data, static_cast<size_t>(vertices) * 4);
      return;
    }
    if (rgba == nullptr && isPerVertex(array, vertices, 4) &&
        (array.type == GiftiType::kUint8 || array.type == GiftiType::kFloat32)) {
      rgba = &array;
    }
  }
  if (rgba == nullptr) return;
  for (size_t vertex = 0; vertex < static_cast<size_t>(vertices); ++vertex) {
    uint32_t code = 0;
    for (size_t channel = 0; channel < 3; ++channel) {
      unsigned char byte = rgba->type == GiftiType::kUint8
                               ? valueAt<unsigned char>(*rgba, vertex, channel)
                               : colorShareByte(valueAt<float>(*rgba, vertex, channel));
      code = (code << 8) | byte;
    }
    surface->colors[vertex] = colorCodeOf(code);
  }
}

}  // namespace

GiftiArrays::~GiftiArrays() {
  for (int index = 0; index < count_; ++index) free(arrays_[index].data);
  free(arrays_);
}

GiftiArray* GiftiArrays::add() {
  if (count_ == capacity_) {
    int capacity = capacity_ > 0 ? capacity_ * 2 : 8;
    void* grown = capacity_ < (1 << 24)
                      ? realloc(arrays_, static_cast<size_t>(capacity) * sizeof(GiftiArray))
                      : nullptr;
    if (grown == nullptr) return nullptr;
    arrays_ = static_cast<GiftiArray*>(grown);
    capacity_ = capacity;
  }
  GiftiArray* array = &arrays_[count_];
  memset(array, 0, sizeof(*array));
  array->index = count_++;
  return array;
}

const GiftiArray* GiftiArrays::first(GiftiIntent intent) const {
  for (int index = 0; index < count_; ++index) {
    if (arrays_[index].intent == intent) return &arrays_[index];
  }
  return nullptr;
}

GiftiArray* GiftiArrays::first(GiftiIntent intent) {
  return const_cast<GiftiArray*>(static_cast<const GiftiArrays*>(this)->first(intent));
}

void GiftiArrays::keepIfUsed(int index) {
  GiftiArray& array = arrays_[index];
  bool used = mayHoldColors(array) ||
              (array.intent != GiftiIntent::kOther && first(array.intent) == &array);
  if (used) return;
  free(array.data);
  array.data = nullptr;
}

bool describeGiftiArray(const XML_Char** attributes, GiftiArray* array, GrowingText* error) {
  Attributes found;
  gather(attributes, &found);
  const int index = array->index;
  if (found.externalFile != nullptr && found.externalFile[0] != '\0') {
    error->append("the GIfTI file refers to an external data file, which is not read");
    return false;
  }
  Encoding encoding = Encoding::kUnknown;
  for (const auto& entry : kEncodings) {
    if (found.encoding != nullptr && strcmp(found.encoding, entry.name) == 0)
      encoding = entry.encoding;
  }
  if (encoding == Encoding::kExternal) {
    error->appendFormat("array %d refers to an external data file, which is not read", index);
    return false;
  }
  if (encoding == Encoding::kUnknown) {
    error->appendFormat("array %d has an encoding that is not read", index);
    return false;
  }
  array->encoding = encoding == Encoding::kAscii          ? GiftiEncoding::kAscii
                    : encoding == Encoding::kBase64Binary ? GiftiEncoding::kBase64Binary
                                                          : GiftiEncoding::kGzipBase64Binary;
  const TypeName* type = nullptr;
  for (const TypeName& entry : kTypes) {
    if (found.dataType != nullptr && strcmp(found.dataType, entry.name) == 0) type = &entry;
  }
  if (type == nullptr) {
    error->appendFormat("array %d has a data type that is not known", index);
    return false;
  }
  array->type = type->type;
  array->layout = type->layout;
  if (!readDimensions(found, array)) {
    error->appendFormat("array %d has impossible dimensions", index);
    return false;
  }
  // Without a byte order the values are taken as this machine's, which is
  // what the GIfTI library did.
  const char* endian = found.endian != nullptr ? found.endian : "";
  const bool big = strcmp(endian, "BigEndian") == 0 || strcmp(endian, "GIFTI_ENDIAN_BIG") == 0;
  const bool little =
      strcmp(endian, "LittleEndian") == 0 || strcmp(endian, "GIFTI_ENDIAN_LITTLE") == 0;
  if (found.endian != nullptr && !big && !little && encoding != Encoding::kAscii) {
    error->appendFormat("array %d has a byte order that is not known", index);
    return false;
  }
  array->bigEndian = found.endian != nullptr ? big : false;
  array->columnMajor =
      found.indexOrder != nullptr && strcmp(found.indexOrder, "ColumnMajorOrder") == 0;
  const char* intent = found.intent != nullptr ? found.intent : "";
  array->intent = strcmp(intent, "NIFTI_INTENT_POINTSET") == 0   ? GiftiIntent::kPointSet
                  : strcmp(intent, "NIFTI_INTENT_TRIANGLE") == 0 ? GiftiIntent::kTriangle
                                                                 : GiftiIntent::kOther;
  return true;
}

bool checkMeshArray(const GiftiArrays& arrays, const GiftiArray& array, GrowingText* error) {
  if (array.intent == GiftiIntent::kOther || arrays.first(array.intent) != &array) return true;
  if (array.dimensionCount != 2 || array.dimensions[1] != 3) {
    error->appendFormat("the %s array is not a list of triples", intentName(array.intent));
    return false;
  }
  if (array.intent == GiftiIntent::kPointSet) {
    if (array.type != GiftiType::kFloat32 && array.type != GiftiType::kFloat64) {
      error->append("the POINTSET array does not hold floats");
      return false;
    }
    return checkSurfaceSize(array.dimensions[0], 0, error);
  }
  if (array.type != GiftiType::kInt32 && array.type != GiftiType::kUint32) {
    error->append("the TRIANGLE array does not hold 32-bit integers");
    return false;
  }
  return checkSurfaceSize(0, array.dimensions[0], error);
}

bool allocateGiftiArray(GiftiArray* array, GrowingText* error) {
  if (array->bytes == 0) return true;
  array->data = static_cast<unsigned char*>(malloc(array->bytes));
  if (array->data == nullptr) {
    error->append("out of memory");
    return false;
  }
  return true;
}

bool buildGiftiSurface(GiftiArrays* arrays, const HostSurface& fields, HostSurface* surface,
                       GrowingText* error) {
  GiftiArray* points = arrays->first(GiftiIntent::kPointSet);
  GiftiArray* triangles = arrays->first(GiftiIntent::kTriangle);
  if (points == nullptr || triangles == nullptr) {
    error->appendFormat("the file has no %s array", points == nullptr ? "POINTSET" : "TRIANGLE");
    return false;
  }
  if (!allocateSurface(surface, static_cast<int32_t>(points->dimensions[0]),
                       static_cast<int32_t>(triangles->dimensions[0]))) {
    error->append("out of memory");
    return false;
  }
  readPositions(points, surface);
  readTriangles(triangles, surface);
  if (!checkSurfaceMesh(*surface, error)) return false;
  readColors(*arrays, surface);
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    memcpy(reinterpret_cast<char*>(surface) + field.offset,
           reinterpret_cast<const char*>(&fields) + field.offset,
           static_cast<size_t>(field.count) * 4);
  }
  return true;
}

}  // namespace standin
