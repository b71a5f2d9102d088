#pragma once

// The name of the text file written beside a surface file: the surface
// file's name with its own extension replaced.

#include <stddef.h>

// Stands in for a surface file name that is null or empty: two single quotes.
extern const char* const kTwoQuotes;

// `fileName`, or kTwoQuotes when it is null or empty.
const char* nameOrTwoQuotes(const char* fileName);

// Where the extension of `fileName` starts: its last dot after the last '\'
// or '/', or its end when its own name has no dot.
size_t extensionStart(const char* fileName);

// A new text (free with free()): `fileName` without the extension of its own
// name, that is from the last dot after the last '\' or '/'; kTwoQuotes when
// the name is null or empty. Null when memory runs out.
char* stripExtension(const char* fileName);

// A new text (free with free()): stripExtension(fileName) followed by
// `suffix`. Null when memory runs out.
char* replaceExtension(const char* fileName, const char* suffix);
