#pragma once

// Writing a whole file of bytes with every step checked: some C runtimes'
// fclose reports success although its final flush failed (a full disk), so
// the write, an explicit flush and the close are each checked.

#include <stddef.h>

namespace standin {

enum class FileWrite { kWritten, kNotCreated, kNotComplete };

// Writes the `length` bytes at `bytes` to a new or emptied file at `path`,
// in binary mode. A part written before a failure stays where it is: the
// path may name a device or a pipe, which is not ours to remove.
FileWrite writeFileBytes(const char* path, const void* bytes, size_t length);

}  // namespace standin
