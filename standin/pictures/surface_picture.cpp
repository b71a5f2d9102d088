// Draws the current surface into a picture: turn to the camera, fit, light,
// and fill the triangles with a depth test.

#include "standin/pictures/surface_picture.h"

#include <float.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "standin/mesh/shown_color.h"

namespace standin {

const uint8_t kPictureBackground[3] = {28, 28, 36};

namespace {

const double kPi = 3.14159265358979323846;
// Room left free around the fitted mesh, as a share of the shorter side.
const double kMargin = 0.05;
// Light that reaches a face seen edge-on, so that the outline stays visible;
// a face turned to the viewer gets the full colour.
const float kAmbient = 0.2f;

// rows[row][column] turning a point about X, then Y, then Z, by the angles
// in degrees (an angle that is not finite counts as 0).
void rotationMatrix(const float* degrees, double rows[3][3]) {
  double sine[3];
  double cosine[3];
  for (int axis = 0; axis < 3; ++axis) {
    double angle = isfinite(degrees[axis]) ? fmod(static_cast<double>(degrees[axis]), 360.0) : 0.0;
    sine[axis] = sin(angle * kPi / 180.0);
    cosine[axis] = cos(angle * kPi / 180.0);
  }
  const double x[3][3] = {{1, 0, 0}, {0, cosine[0], -sine[0]}, {0, sine[0], cosine[0]}};
  const double y[3][3] = {{cosine[1], 0, sine[1]}, {0, 1, 0}, {-sine[1], 0, cosine[1]}};
  const double z[3][3] = {{cosine[2], -sine[2], 0}, {sine[2], cosine[2], 0}, {0, 0, 1}};
  double yx[3][3];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      yx[row][column] = 0;
      for (int k = 0; k < 3; ++k) yx[row][column] += y[row][k] * x[k][column];
    }
  }
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      rows[row][column] = 0;
      for (int k = 0; k < 3; ++k) rows[row][column] += z[row][k] * yx[k][column];
    }
  }
}

void turn(const double rows[3][3], const float* point, double* turned) {
  for (int row = 0; row < 3; ++row) {
    turned[row] = rows[row][0] * point[0] + rows[row][1] * point[1] + rows[row][2] * point[2];
  }
}

// A vertex ready to be drawn: its place in the picture (x, y in pixels,
// depth growing towards the viewer) and its lit colour.
struct ScreenVertex {
  float x, y, depth;
  float color[3];
  bool drawn;
};

void shadeVertices(const HostSurface& surface, const SurfaceShape& shape, const double rows[3][3],
                   ScreenVertex* screen) {
  for (int32_t vertex = 0; vertex < surface.vertexCount; ++vertex) {
    uint8_t base[3];
    shownVertexColor(surface, shape, vertex, base);
    double normal[3];
    turn(rows, shape.normals + static_cast<size_t>(vertex) * 3, normal);
    // Lit from both sides, so that a mesh wound the other way is not dark.
    float light = kAmbient + (1.0f - kAmbient) * static_cast<float>(fabs(normal[2]));
    if (light > 1.0f) light = 1.0f;
    for (int channel = 0; channel < 3; ++channel) {
      screen[vertex].color[channel] = base[channel] * light;
    }
  }
}

// `value` as a float, the largest float of its sign where it is beyond them.
float saturatedFloat(double value) {
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

bool finitePosition(const float* position) {
  return isfinite(position[0]) && isfinite(position[1]) && isfinite(position[2]);
}

// Turns the vertices and fits them into the picture: the box around the
// turned mesh, less the margin, scaled alike in x and y and centred. The
// depth keeps the turned mesh's scale, saturated to floats.
void placeVertices(const HostSurface& surface, const double rows[3][3], int32_t width,
                   int32_t height, ScreenVertex* screen) {
  double low[2] = {DBL_MAX, DBL_MAX};
  double high[2] = {-DBL_MAX, -DBL_MAX};
  for (int32_t vertex = 0; vertex < surface.vertexCount; ++vertex) {
    const float* position = surface.positions + static_cast<size_t>(vertex) * 3;
    screen[vertex].drawn = finitePosition(position);
    if (!screen[vertex].drawn) continue;
    double point[3];
    turn(rows, position, point);
    for (int axis = 0; axis < 2; ++axis) {
      if (point[axis] < low[axis]) low[axis] = point[axis];
      if (point[axis] > high[axis]) high[axis] = point[axis];
    }
  }
  if (low[0] > high[0]) return;  // no finite vertex
  double margin = kMargin * (width < height ? width : height);
  double room[2] = {width - 2.0 * margin, height - 2.0 * margin};
  double scale = DBL_MAX;
  for (int axis = 0; axis < 2; ++axis) {
    double extent = high[axis] - low[axis];
    if (extent > 0.0 && room[axis] / extent < scale) scale = room[axis] / extent;
  }
  // A point, or a line along the view, fits at any scale.
  if (scale == DBL_MAX || !isfinite(scale)) scale = 1.0;
  double middle[2] = {(low[0] + high[0]) / 2.0, (low[1] + high[1]) / 2.0};
  for (int32_t vertex = 0; vertex < surface.vertexCount; ++vertex) {
    if (!screen[vertex].drawn) continue;
    double point[3];
    turn(rows, surface.positions + static_cast<size_t>(vertex) * 3, point);
    // Inside the box, so inside the picture.
    screen[vertex].x = static_cast<float>(width / 2.0 + (point[0] - middle[0]) * scale);
    screen[vertex].y = static_cast<float>(height / 2.0 - (point[1] - middle[1]) * scale);
    screen[vertex].depth = saturatedFloat(point[2]);
  }
}

// The pixel range [first, last] whose centres may lie in [low, high], cut
// to [0, size - 1]; empty (first > last) when none does.
void pixelSpan(float low, float high, int32_t size, int32_t* first, int32_t* last) {
  double from = ceil(static_cast<double>(low) - 0.5);
  double to = floor(static_cast<double>(high) - 0.5);
  *first = from < 0.0 ? 0 : (from > size ? size : static_cast<int32_t>(from));
  *last = to < -1.0 ? -1 : (to > size - 1.0 ? size - 1 : static_cast<int32_t>(to));
}

void fillTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                  Picture* picture) {
  float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (!(fabsf(area) > 1e-12f)) return;
  int32_t left, right, top, bottom;
  pixelSpan(fminf(a.x, fminf(b.x, c.x)), fmaxf(a.x, fmaxf(b.x, c.x)), picture->width, &left,
            &right);
  pixelSpan(fminf(a.y, fminf(b.y, c.y)), fmaxf(a.y, fmaxf(b.y, c.y)), picture->height, &top,
            &bottom);
  // Shares of a and b at a pixel's centre, as the signed areas of the
  // triangles (pixel, b, c) and (pixel, c, a) over the whole area; they
  // change by a fixed step from one pixel to the next in a row. All three
  // shares are not negative inside the triangle, whichever way it winds.
  float inverse = 1.0f / area;
  float stepA = (b.y - c.y) * inverse;
  float stepB = (c.y - a.y) * inverse;
  for (int32_t row = top; row <= bottom; ++row) {
    float y = static_cast<float>(row) + 0.5f;
    float x = static_cast<float>(left) + 0.5f;
    float shareA = ((b.x - x) * (c.y - y) - (b.y - y) * (c.x - x)) * inverse;
    float shareB = ((c.x - x) * (a.y - y) - (c.y - y) * (a.x - x)) * inverse;
    size_t at =
        static_cast<size_t>(row) * static_cast<size_t>(picture->width) + static_cast<size_t>(left);
    for (int32_t column = left; column <= right; ++column, ++at, shareA += stepA, shareB += stepB) {
      float shareC = 1.0f - shareA - shareB;
      if (shareA < 0.0f || shareB < 0.0f || shareC < 0.0f) continue;
      float depth = shareA * a.depth + shareB * b.depth + shareC * c.depth;
      if (!(depth > picture->depth[at])) continue;
      picture->depth[at] = depth;
      uint8_t* pixel = picture->pixels + at * 3;
      for (int channel = 0; channel < 3; ++channel) {
        float value =
            shareA * a.color[channel] + shareB * b.color[channel] + shareC * c.color[channel];
        pixel[channel] =
            value <= 0.0f ? 0 : (value >= 255.0f ? 255 : static_cast<uint8_t>(value + 0.5f));
      }
    }
  }
}

}  // namespace

bool allocatePicture(Picture* picture, int32_t width, int32_t height) {
  releasePicture(picture);
  if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
  size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  picture->pixels = static_cast<uint8_t*>(malloc(pixels * 3));
  picture->depth = static_cast<float*>(malloc(pixels * sizeof(float)));
  if (picture->pixels == nullptr || picture->depth == nullptr) {
    releasePicture(picture);
    return false;
  }
  picture->width = width;
  picture->height = height;
  return true;
}

void releasePicture(Picture* picture) {
  free(picture->pixels);
  free(picture->depth);
  *picture = Picture();
}

Camera recordCamera(const HostSurface& surface) {
  Camera camera;
  rotationMatrix(surface.meshRotation, camera.rows);
  return camera;
}

bool renderSurface(const HostSurface& surface, const SurfaceShape& shape, Picture* picture) {
  return renderSurfaceFrom(surface, shape, recordCamera(surface), picture);
}

bool renderSurfaceFrom(const HostSurface& surface, const SurfaceShape& shape, const Camera& camera,
                       Picture* picture) {
  size_t pixels = static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height);
  for (size_t at = 0; at < pixels; ++at) {
    memcpy(picture->pixels + at * 3, kPictureBackground, 3);
    picture->depth[at] = -FLT_MAX;
  }
  if (surface.vertexCount <= 0 || shape.vertexCount != surface.vertexCount) {
    return surface.vertexCount <= 0;
  }
  ScreenVertex* screen = static_cast<ScreenVertex*>(
      malloc(static_cast<size_t>(surface.vertexCount) * sizeof(ScreenVertex)));
  if (screen == nullptr) return false;
  placeVertices(surface, camera.rows, picture->width, picture->height, screen);
  shadeVertices(surface, shape, camera.rows, screen);
  for (int32_t triangle = 0; triangle < surface.triangleCount; ++triangle) {
    const int32_t* corner = surface.triangles + static_cast<size_t>(triangle) * 3;
    bool usable = true;
    for (int side = 0; side < 3; ++side) {
      usable = usable && corner[side] >= 0 && corner[side] < surface.vertexCount &&
               screen[corner[side]].drawn;
    }
    if (usable) fillTriangle(screen[corner[0]], screen[corner[1]], screen[corner[2]], picture);
  }
  free(screen);
  return true;
}

}  // namespace standin
