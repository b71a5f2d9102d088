#pragma once

// The trace: one line per host call, in call order, as a person attaches it
// to a bug report and as the session tests compare it.
//
//   zvLogText("\nFacetkit> Started...") -> 1
//   zvGetIntegerInput("Please select ...", 1, 1, 5) -> 3
//   zvPlotBars() -- unexpected call
//   host: initPlugin -> 1
//
// Host calls start with the host function's name; the stand-in's own steps
// start with "host: ". Texts are quoted in C style.

#include "standin/base/growing_text.h"

namespace standin {

// Appends `text` quoted in C style: "\n", "\r", "\t", "\"" and "\\" as
// escapes, other bytes outside printable ASCII as three-digit octal escapes
// ("\303\251"), so that the quote is one line and reads back unambiguously.
// A null text is written as null, unquoted.
void appendQuoted(GrowingText* line, const char* text);

// Appends `value` with "%.9g": short for round numbers, exact for every
// float.
void appendFloat(GrowingText* line, float value);

// Sends trace lines to `path` ("-" for standard output). Returns false when
// the file cannot be opened. Without a call, lines are dropped.
bool openTrace(const char* path);

// Flushes and closes the trace file.
void closeTrace();

// Writes `line` and a line feed to the trace and flushes it, so that the
// trace is complete up to a crash.
void writeTraceLine(const GrowingText& line);

// Writes one "host: " line formatted printf-style.
void traceHost(const char* format, ...);

}  // namespace standin
