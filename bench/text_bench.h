#pragma once

// The plug-in's text work, each beside a baseline doing the bare work: the
// header report against one snprintf, hexToDecimal against strtol, the
// function menu against malloc and memcpy of the finished menu.

#include <stdint.h>

#include "bench/interleaved_runs.h"
#include "host/host_records.h"

// The surface whose header is reported.
SurfaceRecord exampleSurface();

// The header report of the example surface, formatted and released, and the
// same fourteen lines from one snprintf into a stack buffer.
Contender headerReport();
Contender headerSnprintf();

// A colour code and the value hexToDecimal must give for it.
struct HexText {
  const char* text;
  int32_t expected;
};

// "FFFFFF", the preset answer.
extern const HexText kSixDigits;
// The longest answer a text prompt can give: 255 digits, "0123...EF0123...".
extern const HexText kLongAnswer;

// hexToDecimal and strtol (base 16) of `text`.
Contender hexToDecimalOf(const HexText& text);
Contender strtolOf(const HexText& text);

// The run's function menu built, and a copy of the finished menu into a new
// buffer of the same size.
Contender menuBuilt();
Contender menuCopied();
