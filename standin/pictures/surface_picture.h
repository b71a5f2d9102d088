#pragma once

// Pictures of the current surface, drawn without a window: an orthographic
// view by a camera (picture_view.h chooses it; the record's view turns the
// mesh by its rotation and looks along the z axis), the mesh fitted into the
// picture, hidden surfaces removed with a depth buffer, and each vertex's
// colour lit by a light from the viewer and blended smoothly across the
// triangles.

#include <stdint.h>

#include "standin/mesh/host_surface.h"
#include "standin/mesh/surface_shape.h"

namespace standin {

// The largest width or height of a picture, so that every size computation
// stays far inside 32 bits.
const int32_t kMaxPictureSide = 8192;

// What a pixel that no triangle covers shows (red, green, blue).
extern const uint8_t kPictureBackground[3];

// An RGB picture, rows from top to bottom, 3 bytes per pixel, and the depth
// of each pixel's nearest triangle so far.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  uint8_t* pixels = nullptr;
  float* depth = nullptr;
};

// Makes room for a `width` x `height` picture (1 to kMaxPictureSide each),
// after releasing what `picture` held. Returns false when a side is out of
// range or memory runs out, leaving `picture` empty.
bool allocatePicture(Picture* picture, int32_t width, int32_t height);

// Gives back the picture's memory and leaves it empty.
void releasePicture(Picture* picture);

// A camera: rows[0] is the picture's right, rows[1] its up and rows[2] the
// direction towards the viewer, as unit vectors in the surface's
// coordinates, at right angles and with rows[0] x rows[1] = rows[2].
struct Camera {
  double rows[3][3];
};

// The record's view: the mesh turned about X, then Y, then Z by the record's
// rotation in degrees (an angle that is not finite counts as 0), x to the
// right, y up, the viewer on the side of positive z.
Camera recordCamera(const HostSurface& surface);

// Draws `surface` into `picture` as `camera` sees it, as renderSurface does.
bool renderSurfaceFrom(const HostSurface& surface, const SurfaceShape& shape, const Camera& camera,
                       Picture* picture);

// Draws `surface` into `picture`, whose size it keeps, in the record's view,
// each vertex in the colour it is shown in (standin/mesh/shown_color.h).
// `shape` must have been computed for this surface's mesh. Vertices with a
// coordinate that is not finite, and triangles that use one or an index
// outside the vertices, are left out. Returns false, with only the background drawn,
// when memory runs out or `shape` has another vertex count.
bool renderSurface(const HostSurface& surface, const SurfaceShape& shape, Picture* picture);

}  // namespace standin
