#pragma once

// The record through which Zandrovix describes its current surface. The host
// fills it byte for byte as laid out here (64-bit, little-endian), so every
// offset is fixed and checked below.

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

// The value stored per vertex for colour number `colour`: 0x3F000000 plus the
// number, wrapping modulo 2^32 (0x3FRRGGBB for the HTML code RRGGBB).
int32_t vertexColorValue(int32_t colour);
