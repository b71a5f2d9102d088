// Which parts of a PLY file make the host's surface.

#include <string.h>

#include "standin/files/ply_header.h"

namespace standin {

bool findSurfaceLayout(const PlyHeader& header, int* vertexElement, int* faceElement,
                       PlyVertexLayout* layout, int* indexProperty, GrowingText* error) {
  *vertexElement = -1;
  *faceElement = -1;
  *indexProperty = -1;
  for (int index = 0; index < header.elementCount; ++index) {
    const PlyElement& element = header.elements[index];
    int* slot = strcmp(element.name, "vertex") == 0 ? vertexElement
                : strcmp(element.name, "face") == 0 ? faceElement
                                                    : nullptr;
    if (slot == nullptr) continue;
    if (*slot >= 0) {
      error->appendFormat("more than one \"%s\" element", element.name);
      return false;
    }
    *slot = index;
  }
  if (*vertexElement < 0) {
    error->append("the file has no vertex element");
    return false;
  }
  const PlyElement& vertices = header.elements[*vertexElement];
  const char* const axisNames[3] = {"x", "y", "z"};
  const char* const rgbNames[3] = {"red", "green", "blue"};
  for (int axis = 0; axis < 3; ++axis) {
    layout->axis[axis] = findPlyProperty(vertices, axisNames[axis]);
    layout->rgb[axis] = findPlyProperty(vertices, rgbNames[axis]);
    if (layout->axis[axis] < 0 || vertices.properties[layout->axis[axis]].isList) {
      error->appendFormat("the vertices have no property %s", axisNames[axis]);
      return false;
    }
    int rgb = layout->rgb[axis];
    if (rgb >= 0 &&
        (vertices.properties[rgb].isList || !plyTypeIsInteger(vertices.properties[rgb].type))) {
      layout->rgb[axis] = -1;
    }
  }
  layout->zvColor = findPlyProperty(vertices, "zv_color");
  if (layout->zvColor >= 0) {
    const PlyProperty& color = vertices.properties[layout->zvColor];
    if (color.isList || !plyTypeIsInteger(color.type)) {
      error->append("zv_color is not a plain integer property");
      return false;
    }
  }
  if (*faceElement >= 0) {
    const PlyElement& faces = header.elements[*faceElement];
    *indexProperty = findPlyProperty(faces, "vertex_indices");
    if (*indexProperty < 0) *indexProperty = findPlyProperty(faces, "vertex_index");
    if (*indexProperty < 0 || !faces.properties[*indexProperty].isList ||
        !plyTypeIsInteger(faces.properties[*indexProperty].type)) {
      error->append("the faces have no integer list vertex_indices");
      return false;
    }
  }
  return true;
}

}  // namespace standin
