#pragma once

// The header of the current surface as text: logged by menu function 2,
// written beside the surface file by menu function 5.

#include <stddef.h>

#include "host/host_records.h"

// The text formatSurfaceHeader gives when there is no record.
extern const char* const kNoSurfaceContent;

// The fourteen-line report of `surface`'s file name, counts, centre,
// visibility, curvature colours (concave first), rotation, strip settings and
// render mode. Null `surface` gives kNoSurfaceContent. Always the complete
// text however long the file name; null, after logging one error line, when
// it could not be built whole (memory ran out, a number could not be
// formatted). Release the result with releaseSurfaceHeader.
const char* formatSurfaceHeader(const SurfaceRecord* surface);

// Frees a text that formatSurfaceHeader returned (its static text and null
// excepted).
void releaseSurfaceHeader(const char* report);

// Writes `report` unchanged into the text file named by replaceExtension of
// the surface's file name with ".txt" (text mode, replacing any content),
// then logs where it went. Logs instead that the file could not be written,
// naming it, and leaves any existing file as it was, when `report` is null,
// when the text file would be the surface file itself, or when memory, the
// file system or the disk fails.
void writeSurfaceHeaderFile(const SurfaceRecord& surface, const char* report);

// A new text (free with free()): `fileName` without the extension of its own
// name, that is from the last dot after the last '\' or '/'; "''" when the
// name is null or empty. Null when memory runs out.
char* stripExtension(const char* fileName);

// A new text (free with free()): stripExtension(fileName) followed by
// `suffix`. Null when memory runs out.
char* replaceExtension(const char* fileName, const char* suffix);
