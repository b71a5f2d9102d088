#pragma once

// Writing the header report of a surface into a text file beside it.

#include "host/host_records.h"

// Writes `report` unchanged into the text file named by replaceExtension of
// the surface's file name with ".txt" (text mode, replacing any content,
// with replaceTextFile: no other file changes), then logs where it went.
// Logs instead that the file could not be written, naming it, and leaves any
// existing file as it was, when `report` is null, when the text file would
// be the surface file itself, when the user may not write it, or when
// memory, the file system or the disk fails.
void writeSurfaceHeaderFile(const SurfaceRecord& surface, const char* report);

// Menu function 5: writes the report of `surface` with
// writeSurfaceHeaderFile.
void saveSurfaceHeader(const SurfaceRecord& surface);
