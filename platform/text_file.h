#pragma once

// Writing a whole text file safely, and the file-system rules that differ
// between platforms.

#include <stddef.h>

// Suffix of the temporary file that replaceTextFile writes beside `name`.
extern const char* const kTemporaryFileSuffix;

// Replaces the content of the text file `name` by the `size` bytes of `text`,
// written in text mode (line feeds become CR LF on Windows). The text goes to
// a temporary file beside it first, which takes the place of `name` only once
// it is written, flushed and closed without an error, so that an existing
// file is never emptied or left half-written. Returns whether the file now
// holds the text; on false, `name` is as it was and no temporary file stays.
bool replaceTextFile(const char* name, const char* text, size_t size);

// Writes the `size` bytes of `text` to the file `name` in text mode, creating
// or emptying it, and checks the write, the flush and the close: some
// runtimes report a successful close although the data could not be written
// (a full disk, say). Returns whether all of the text reached the file.
bool writeNewTextFile(const char* name, const char* text, size_t size);

// Whether the file names `first` and `second` reach the same file: equal
// names by the platform's rule (without case on Windows), or, where the
// platform can tell, two names of one existing file.
bool namesSameFile(const char* first, const char* second);

// Moves the file `from` over `to`, replacing it, in one step of the file
// system. Returns whether it moved; on false both stay as they were.
bool moveFileOver(const char* from, const char* to);
