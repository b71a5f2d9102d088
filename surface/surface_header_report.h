#pragma once

// The header of the current surface as text: logged by menu function 2,
// written beside the surface file by menu function 5.

#include <stddef.h>

#include "host/host_records.h"

// The text formatSurfaceHeader gives when there is no record.
extern const char* const kNoSurfaceContent;

// The line logged when a report could not be built, or its file could not
// be named for want of memory.
extern const char* const kReportFailed;

// The fourteen-line report of `surface`'s file name, counts, centre,
// visibility, curvature colours (concave first), rotation, strip settings and
// render mode. Null `surface` gives kNoSurfaceContent. Always the complete
// text however long the file name; null, after logging one error line, when
// it could not be built whole (memory ran out, a number could not be
// formatted). Release the result with releaseSurfaceHeader.
const char* formatSurfaceHeader(const SurfaceRecord* surface);

// Menu function 2: logs the report of `surface`. A report that could not be
// built has logged why; nothing else is logged then.
void logSurfaceHeader(const SurfaceRecord& surface);

// Frees a text that formatSurfaceHeader returned (its static text and null
// excepted).
void releaseSurfaceHeader(const char* report);
