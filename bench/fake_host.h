#pragma once

// Host functions for the benchmarks, answering as a user would who paints
// the whole sample surface red and declines to save it.

#include <stdint.h>

// The vertices painted: the sample surface's, numbered 0 to 40961.
constexpr int32_t kPaintedVertexCount = 40962;

// The colour answered, and the value the editing stores for it.
extern const char* const kPaintColour;
constexpr int32_t kPaintedValue = 0x3F000000 + 0xFF0000;

// Fills hostFunctions with fakes: a log and a message box that show nothing,
// number prompts answering 0 then 40961 (in turn, from the next prompt on),
// a text prompt answering kPaintColour, a redraw that does nothing, and "no"
// to every yes/no question. The host path, save dialog and surface save
// count a call as unexpected. Every other entry is null.
void installFakeHost();

// Calls of the host functions that a run declining to save never makes,
// since installFakeHost.
int unexpectedHostCalls();
