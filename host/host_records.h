#pragma once

// The two records through which Zandrovix describes its scene and its current
// surface. Both sides of the binary interface include this file: the host
// fills the records byte for byte as laid out here (64-bit, little-endian),
// so every offset is fixed and checked below.

#include <stddef.h>
#include <stdint.h>

struct ColorRgb {
  float red;
  float green;
  float blue;
};

struct Vector3 {
  float x;
  float y;
  float z;
};

// Filled by the host in zvGetScene, into a record that the plug-in owns,
// once per run before the plug-in looks for a surface: the number of
// surfaces in the host's scene, then four bytes of the host's own.
struct SceneRecord {
  int32_t surfaceCount;
  int32_t hostData;
};
static_assert(sizeof(SceneRecord) == 8, "the host fills exactly 8 bytes");

// Filled by the host in zvGetCurrentSRF, into a record that the plug-in owns,
// once per run after the scene showed a surface, and read by the menu
// function that the user then picks. The addresses in it stay the host's.
struct SurfaceRecord {
  int32_t vertexCount;
  int32_t triangleCount;
  unsigned char reservedMesh[48];
  // The host's own array of `vertexCount` colour values; writes change the
  // host's surface in place. Never allocated, resized or freed by Facetkit.
  int32_t* vertexColors;
  int32_t visible;
  int32_t renderMode;
  ColorRgb convexColor;
  ColorRgb concaveColor;
  Vector3 meshCenter;
  Vector3 meshRotation;
  unsigned char reservedView[24];
  int32_t useStrips;
  int32_t stripElementCount;
  unsigned char reservedStrips[8];
  // The surface file's name with its folder; the host's text.
  const char* fileName;
};

static_assert(sizeof(void*) == 8, "the record is shared with a 64-bit host");
static_assert(sizeof(float) == 4 && sizeof(int32_t) == 4, "4-byte fields");
static_assert(offsetof(SurfaceRecord, vertexCount) == 0, "record layout");
static_assert(offsetof(SurfaceRecord, triangleCount) == 4, "record layout");
static_assert(offsetof(SurfaceRecord, vertexColors) == 56, "record layout");
static_assert(offsetof(SurfaceRecord, visible) == 64, "record layout");
static_assert(offsetof(SurfaceRecord, renderMode) == 68, "record layout");
static_assert(offsetof(SurfaceRecord, convexColor) == 72, "record layout");
static_assert(offsetof(SurfaceRecord, concaveColor) == 84, "record layout");
static_assert(offsetof(SurfaceRecord, meshCenter) == 96, "record layout");
static_assert(offsetof(SurfaceRecord, meshRotation) == 108, "record layout");
static_assert(offsetof(SurfaceRecord, useStrips) == 144, "record layout");
static_assert(offsetof(SurfaceRecord, stripElementCount) == 148, "record layout");
static_assert(offsetof(SurfaceRecord, fileName) == 160, "record layout");
static_assert(sizeof(SurfaceRecord) == 168, "record layout");
