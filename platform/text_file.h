#pragma once

// Writing a whole text file safely, and the file-system rules that differ
// between platforms.

#include <stddef.h>
#include <stdio.h>

// Replaces the content of the text file `name` by the `size` bytes of `text`,
// written in text mode (line feeds become CR LF on Windows), and touches no
// other file but a temporary one that it creates exclusively, under a short
// unique name in the same folder, and removes again on failure. The text goes
// to that temporary file first, which takes the place of the text file only
// once it is written, flushed and closed without an error, so that an
// existing file is never emptied or left half-written. What the user set on
// an existing file stays: its permission bits and owner (POSIX), and a
// symbolic link stays a link (the file it leads to is replaced). A file the
// user may not write (POSIX permissions, the Windows read-only attribute) or
// a folder is left as it is and fails. A file with several hard links, a
// device, or a file in a folder where no temporary file can be made (no
// permission, a name at the length limit) is written in place instead, with
// writeNewTextFile. Returns whether the text file now holds the text.
bool replaceTextFile(const char* name, const char* text, size_t size);

// Writes the `size` bytes of `text` to the file `name` in text mode, creating
// or emptying it, and checks the write, the flush and the close: some
// runtimes report a successful close although the data could not be written
// (a full disk, say). Returns whether all of the text reached the file.
bool writeNewTextFile(const char* name, const char* text, size_t size);

// Writes the `size` bytes of `text` to `file`, opened for writing, then
// flushes and closes it, checking each step. Returns whether all of the text
// reached the file; `file` is closed in either case.
bool writeTextAndClose(FILE* file, const char* text, size_t size);

// Whether the file names `first` and `second` reach the same file: equal
// names by the platform's rule (without case on Windows), or two names of one
// existing file (the same device and file number, or on Windows the same
// volume and file index).
bool namesSameFile(const char* first, const char* second);

// Moves the file `from` over `to`, replacing it, in one step of the file
// system. Returns whether it moved; on false both stay as they were.
bool moveFileOver(const char* from, const char* to);
