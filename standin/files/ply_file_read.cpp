// Reading PLY files; the format is described in surface_formats.h. Every
// count, offset and index read from a file is checked before it is used.

#include <float.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "host/host_color_value.h"
#include "standin/files/ply_header.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"

namespace standin {

namespace {

// The body bytes not read yet.
struct ByteReader {
  const unsigned char* data;
  size_t size;
  size_t at;
};

// One value read exactly: integers in `integer`, floats in `real`.
struct Scalar {
  bool isInteger;
  int64_t integer;
  double real;
};

bool readScalar(ByteReader* reader, PlyType type, Scalar* scalar) {
  size_t width = static_cast<size_t>(plyTypeSize(type));
  if (width > reader->size - reader->at) return false;
  uint64_t bits = 0;
  for (size_t index = width; index > 0; --index)
    bits = (bits << 8) | reader->data[reader->at + index - 1];
  reader->at += width;
  *scalar = Scalar{true, 0, 0.0};
  switch (type) {
    case PlyType::kInt8:
      scalar->integer = static_cast<int8_t>(static_cast<uint8_t>(bits));
      break;
    case PlyType::kInt16:
      scalar->integer = static_cast<int16_t>(static_cast<uint16_t>(bits));
      break;
    case PlyType::kInt32:
      scalar->integer = static_cast<int32_t>(static_cast<uint32_t>(bits));
      break;
    case PlyType::kUint8:
    case PlyType::kUint16:
    case PlyType::kUint32:
      scalar->integer = static_cast<int64_t>(bits);
      break;
    case PlyType::kFloat32: {
      uint32_t narrow = static_cast<uint32_t>(bits);
      float value = 0;
      memcpy(&value, &narrow, sizeof(value));
      *scalar = Scalar{false, 0, static_cast<double>(value)};
      break;
    }
    case PlyType::kFloat64:
      scalar->isInteger = false;
      memcpy(&scalar->real, &bits, sizeof(scalar->real));
      break;
  }
  return true;
}

float toFloat(const Scalar& scalar) {
  if (scalar.isInteger) return static_cast<float>(scalar.integer);
  if (scalar.real > FLT_MAX) return static_cast<float>(HUGE_VAL);
  if (scalar.real < -FLT_MAX) return -static_cast<float>(HUGE_VAL);
  return static_cast<float>(scalar.real);
}

// Reads one item of `element`, passing every value to `use(index, item,
// value)`: `item` is -1 for a plain property and the position within the
// list for a list's items. Returns false when the body ends inside the item.
template <typename Use>
bool readItem(ByteReader* reader, const PlyElement& element, Use use) {
  for (int index = 0; index < element.propertyCount; ++index) {
    const PlyProperty& property = element.properties[index];
    Scalar value = {};
    if (!property.isList) {
      if (!readScalar(reader, property.type, &value)) return false;
      use(index, -1, value);
      continue;
    }
    Scalar length = {};
    if (!readScalar(reader, property.countType, &length)) return false;
    // Every list item takes at least one byte, so a length beyond the bytes
    // left means the body ends inside the list.
    if (length.integer < 0 || static_cast<uint64_t>(length.integer) > reader->size - reader->at) {
      return false;
    }
    for (int64_t item = 0; item < length.integer; ++item) {
      if (!readScalar(reader, property.type, &value)) return false;
      use(index, item, value);
    }
  }
  return true;
}

bool readVertices(ByteReader* reader, const PlyElement& element, const PlyVertexLayout& layout,
                  HostSurface* surface, GrowingText* error) {
  for (int32_t vertex = 0; vertex < element.count; ++vertex) {
    int64_t rgb[3] = {0, 0, 0};
    bool complete = readItem(reader, element, [&](int index, int64_t item, const Scalar& value) {
      if (item >= 0) return;
      for (int axis = 0; axis < 3; ++axis) {
        if (index == layout.axis[axis])
          surface->positions[static_cast<size_t>(vertex) * 3 + static_cast<size_t>(axis)] =
              toFloat(value);
        if (index == layout.rgb[axis]) rgb[axis] = value.integer & 0xFF;
      }
      if (index == layout.zvColor) {
        surface->colors[vertex] = static_cast<int32_t>(static_cast<uint32_t>(value.integer));
      }
    });
    if (!complete) {
      error->appendFormat("the file ends inside vertex %d", vertex);
      return false;
    }
    if (layout.zvColor < 0 && layout.rgb[0] >= 0 && layout.rgb[1] >= 0 && layout.rgb[2] >= 0) {
      surface->colors[vertex] =
          colorCodeOf(static_cast<uint32_t>((rgb[0] << 16) | (rgb[1] << 8) | rgb[2]));
    }
  }
  return true;
}

bool readFaces(ByteReader* reader, const PlyElement& element, int indexProperty,
               HostSurface* surface, GrowingText* error) {
  for (int32_t face = 0; face < element.count; ++face) {
    int corners = 0;
    bool valid = true;
    bool complete = readItem(reader, element, [&](int index, int64_t item, const Scalar& value) {
      if (index != indexProperty || item < 0) return;
      ++corners;
      if (item >= 3 || value.integer < 0 || value.integer >= surface->vertexCount) {
        valid = false;
        return;
      }
      surface->triangles[static_cast<size_t>(face) * 3 + static_cast<size_t>(item)] =
          static_cast<int32_t>(value.integer);
    });
    if (!complete) {
      error->appendFormat("the file ends inside face %d", face);
      return false;
    }
    if (!valid || corners != 3) {
      error->appendFormat("face %d is not a triangle of existing vertices", face);
      return false;
    }
  }
  return true;
}

// The fewest bytes one item of `element` can take, to check a count against
// the file's size before anything is allocated.
uint64_t smallestItemSize(const PlyElement& element) {
  uint64_t size = 0;
  for (int index = 0; index < element.propertyCount; ++index) {
    const PlyProperty& property = element.properties[index];
    size +=
        static_cast<uint64_t>(plyTypeSize(property.isList ? property.countType : property.type));
  }
  return size;
}

void copyDisplayFields(const HostSurface& from, HostSurface* to) {
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    memcpy(reinterpret_cast<char*>(to) + field.offset,
           reinterpret_cast<const char*>(&from) + field.offset,
           static_cast<size_t>(field.count) * 4);
  }
}

bool decodeBody(const unsigned char* data, size_t size, const PlyHeader& header,
                HostSurface* surface, GrowingText* error) {
  int vertexElement = -1;
  int faceElement = -1;
  int indexProperty = -1;
  PlyVertexLayout layout = {};
  if (!findSurfaceLayout(header, &vertexElement, &faceElement, &layout, &indexProperty, error)) {
    return false;
  }
  int32_t triangles = faceElement >= 0 ? header.elements[faceElement].count : 0;
  if (!checkSurfaceSize(header.elements[vertexElement].count, triangles, error)) return false;
  uint64_t smallestBody = 0;
  for (int index = 0; index < header.elementCount; ++index) {
    const PlyElement& element = header.elements[index];
    smallestBody += static_cast<uint64_t>(element.count) * smallestItemSize(element);
  }
  if (smallestBody > size - header.bodyOffset) {
    error->append("the file is shorter than its header says");
    return false;
  }
  if (!allocateSurface(surface, header.elements[vertexElement].count, triangles)) {
    error->append("out of memory");
    return false;
  }
  ByteReader reader = {data, size, header.bodyOffset};
  for (int index = 0; index < header.elementCount; ++index) {
    const PlyElement& element = header.elements[index];
    bool read = true;
    if (index == vertexElement) {
      read = readVertices(&reader, element, layout, surface, error);
    } else if (index == faceElement) {
      read = readFaces(&reader, element, indexProperty, surface, error);
    } else {
      // An element without properties has nothing to read, however many.
      for (int32_t item = 0; item < element.count && element.propertyCount > 0 && read; ++item) {
        read = readItem(&reader, element, [](int, int64_t, const Scalar&) {});
        if (!read) error->appendFormat("the file ends inside a \"%s\" element", element.name);
      }
    }
    if (!read) return false;
  }
  if (reader.at != size) {
    error->appendFormat("%zu bytes follow the last element", size - reader.at);
    return false;
  }
  return true;
}

}  // namespace

bool decodeSurfacePly(const unsigned char* data, size_t size, HostSurface* surface,
                      GrowingText* error) {
  releaseSurface(surface);
  HostSurface fields;
  setSampleDisplayFields(&fields);
  PlyHeader* header = static_cast<PlyHeader*>(malloc(sizeof(PlyHeader)));
  if (header == nullptr) {
    error->append("out of memory");
    return false;
  }
  bool decoded = parsePlyHeader(data, size, header, &fields, error) &&
                 decodeBody(data, size, *header, surface, error);
  free(header);
  if (!decoded) {
    releaseSurface(surface);
    return false;
  }
  if (!checkSurfaceMesh(*surface, error)) {
    releaseSurface(surface);
    return false;
  }
  copyDisplayFields(fields, surface);
  return true;
}

}  // namespace standin
