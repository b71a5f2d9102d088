#pragma once

// Where the stand-in's save dialog puts a file, as the system's dialog does:
// it opens in the folder it is given when that folder exists on this
// machine, and in the current folder otherwise, and a name chosen in it
// lands in the folder it shows.

#include "standin/base/growing_text.h"

namespace standin {

// Sets `folder` to the folder the dialog opens in: `startPath` when it names
// an existing folder, else the current folder. Returns true for the start
// folder, false for the current one (then relative names need no folder).
bool saveDialogFolder(const char* startPath, GrowingText* folder);

// Sets `path` to `name` placed in `folder`, with a separator between them
// when `folder` does not end with one; a name that starts from a root
// ("/x", "\x", "C:...") stays as it is.
void placeInFolder(const char* folder, const char* name, GrowingText* path);

}  // namespace standin
