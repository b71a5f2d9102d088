#pragma once

// Making a folder for the stand-in host's pictures. One implementation per
// platform.

// Makes the folder `path` when nothing by that name exists; its parent must
// exist (one level is made, not a chain). Returns whether a folder was made;
// false also when it already existed, which a later write into it tells.
bool makeFolder(const char* path);
