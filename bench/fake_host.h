#pragma once

// Host functions for the benchmarks, answering as a user would who picks the
// first menu function, paints every vertex of the current surface with
// kPaintColour and declines to save. They are exported under the host's own
// names, and the benchmark program is named Zandrovix.exe, so that a run
// started through the plug-in object's execute finds them as it would find
// the host's. The number prompts are answered in the order a painting asks
// them, as a script of answers would answer them.

#include <stdint.h>

#include "host/host_color_value.h"
#include "host/host_records.h"

// The colour answered, and the value the editing stores for it.
extern const char* const kPaintColour;
constexpr int32_t kPaintedValue = colorCodeOf(0xFF0000);

// How a painting is started: by the editing function itself, which asks
// for the first and the last vertex, or through the plug-in's menu, which
// asks for the function's number first.
enum class PaintRoute { kEditing, kMenu };

// Makes a copy of `surface` the host's current surface, which zvGetCurrentSRF
// gives out, and starts the number answers of paintings taken by `route`
// afresh: the first menu function when the route has a menu, then vertex 0,
// then the last vertex. The colour array stays the caller's.
void setFakeSurface(const SurfaceRecord& surface, PaintRoute route);

// Fills hostFunctions with the fakes directly, as a resolution would, and
// zeroes the counts below. Every entry that is not a fake is null.
void installFakeHost();

// Calls that a run painting without saving never makes (the host path, the
// save dialog, the surface save) since installFakeHost.
int unexpectedHostCalls();

// Window redraws asked for since installFakeHost: one per completed painting.
int64_t redrawCount();
