#pragma once

// What the plug-in object does when the host calls it.

#include <stdint.h>

// Whether version major.minor.sub is the same as or later than
// requiredMajor.requiredMinor.requiredSub (signed comparisons).
bool versionAtLeast(int32_t major, int32_t minor, int32_t sub, int32_t requiredMajor,
                    int32_t requiredMinor, int32_t requiredSub);

// The start-up gate: links to the host and refuses hosts older than 2.6.0,
// telling the user why. Returns whether the plug-in may run.
bool checkHost();

// One run: links to the host, checks for a VMR document and a surface, shows
// the function menu and runs the chosen function. Returns false when the run
// did not get started (no host functions, no VMR document), true otherwise.
bool runPlugin();
