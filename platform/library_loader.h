#pragma once

// What the stand-in host needs from the operating system to load a plug-in:
// open a library by path, find an export by name, close it again, the folder
// of the running program and the current folder, and whether a folder
// exists. One implementation per platform; nothing else in the stand-in
// knows which platform it runs on.

#include <stddef.h>

using LibraryHandle = void*;
using LibrarySymbol = void (*)();

// The plug-in library's file name on this platform ("libFacetkit.so",
// "Facetkit.dll").
extern const char* const kPluginLibraryFileName;

// What this platform puts before and after a library's name to make its file
// name ("lib" and ".so"; "" and ".dll"), so that a library can be named the
// same way on every platform.
extern const char* const kLibraryFilePrefix;
extern const char* const kLibraryFileSuffix;

// Loads the library at `path` (a path without a folder means the current
// folder, not a search). Returns null when it cannot be loaded; then
// `libraryError` tells why.
LibraryHandle openLibrary(const char* path);

// The address that `library` exports under exactly `name`, or null.
LibrarySymbol findLibrarySymbol(LibraryHandle library, const char* name);

// Unloads a library opened with openLibrary. Null is ignored.
void closeLibrary(LibraryHandle library);

// A readable reason for the last failure of openLibrary, valid until the next
// call into this interface; never null.
const char* libraryError();

// Copies the folder of the running executable, ending with a path
// separator, into `folder` (`size` bytes). Returns false, with `folder`
// empty, when it is unknown or does not fit.
bool executableFolder(char* folder, size_t size);

// Copies the process's current folder, ending with a path separator, into
// `folder` (`size` bytes). Returns false, with `folder` empty, when it is
// unknown or does not fit.
bool currentFolder(char* folder, size_t size);

// Whether `path` names a folder that exists (relative to the current folder
// unless it starts from a root).
bool folderExists(const char* path);
