#pragma once

// The header of a binary little-endian PLY file: its elements with their
// properties, the "comment zandrovix" record fields, and where the body
// starts.

#include <stddef.h>
#include <stdint.h>

#include "standin/base/growing_text.h"
#include "standin/mesh/host_surface.h"

namespace standin {

enum class PlyType { kInt8, kUint8, kInt16, kUint16, kInt32, kUint32, kFloat32, kFloat64 };

// Bytes per value of `type`.
int plyTypeSize(PlyType type);
bool plyTypeIsInteger(PlyType type);

constexpr int kPlyNameSize = 64;
constexpr int kMaxPlyProperties = 32;
constexpr int kMaxPlyElements = 8;

struct PlyProperty {
  char name[kPlyNameSize];
  // The value type; for a list, the type of its items.
  PlyType type;
  bool isList;
  PlyType countType;
};

struct PlyElement {
  char name[kPlyNameSize];
  int32_t count;
  PlyProperty properties[kMaxPlyProperties];
  int propertyCount;
};

struct PlyHeader {
  PlyElement elements[kMaxPlyElements];
  int elementCount;
  // Offset of the first body byte, just after "end_header" and its line feed.
  size_t bodyOffset;
};

// Parses the header at the start of `data`. Each "comment zandrovix <field>"
// line is stored into the matching field of `fields` (other members
// untouched). Returns false with a message in `error` when the header is
// malformed, too large for the limits above, or not binary little-endian.
bool parsePlyHeader(const unsigned char* data, size_t size, PlyHeader* header, HostSurface* fields,
                    GrowingText* error);

// The index of the property called `name` in `element`, or -1.
int findPlyProperty(const PlyElement& element, const char* name);

// Where the vertex properties that the host uses sit in the vertex element:
// indexes of x, y, z, of red, green, blue (-1 where absent or not plain
// integers) and of zv_color (-1 where absent).
struct PlyVertexLayout {
  int axis[3];
  int rgb[3];
  int zvColor;
};

// Finds the vertex element, the face element (-1 when there is none) with
// its index list property, and the vertex layout. Returns false with a
// message in `error` when there is no vertex element, more than one vertex
// or face element, no plain x, y or z, a zv_color that is not a plain
// integer, or faces without an integer list of vertex indexes.
bool findSurfaceLayout(const PlyHeader& header, int* vertexElement, int* faceElement,
                       PlyVertexLayout* layout, int* indexProperty, GrowingText* error);

}  // namespace standin
