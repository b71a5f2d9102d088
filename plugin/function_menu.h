#pragma once

// The plug-in's five functions and the one builder of their numbered list,
// used for the description the host shows and for the run's menu.

#include <stdint.h>

// Identifies one plug-in function; the valid identifiers are 1 to 5.
using FunctionId = int32_t;

constexpr FunctionId kChangeVertexColors = 1;
constexpr FunctionId kPrintSurfaceHeader = 2;
constexpr FunctionId kPrintColorRange = 3;
constexpr FunctionId kConvertHexColor = 4;
constexpr FunctionId kWriteSurfaceHeaderFile = 5;

// The functions offered, in menu order, with their count.
struct FunctionCatalogue {
  const FunctionId* ids;
  int32_t count;
};

extern const FunctionCatalogue functionCatalogue;

// Size of every buffer that buildFunctionMenu returns.
constexpr int kMenuTextSize = 65536;

// The title of `id`, or "Unknown function" for any other number. Static text.
const char* functionTitle(FunctionId id);

// Returns a new 65,536-byte buffer (caller frees with free()) holding
// `heading`, a separator, one numbered line per entry of `ids[0..count)`
// (numbered by position from 1) and `trailer`, with HTML or plain line
// breaks. Lines that would not fit are left out whole. Null when memory runs
// out.
char* buildFunctionMenu(const char* heading, const FunctionId* ids, int32_t count, bool html,
                        const char* trailer);
