#pragma once

// What the stand-in's GIfTI reader and writer share about libgiftiio, in
// builds that have the library (the native ones, on POSIX systems).
//
// libgiftiio writes its own complaints to standard error whatever its
// verbosity, reads an array's external data file as soon as it parses the
// array, reads files only (no memory), and no longer knows the attribute
// values that early GIfTI writers used. Hence: standard error is quiet
// around every call, a file whose arrays name an external data file is
// refused before it is parsed, and a file with legacy values is read
// through a modernised temporary copy.

#include <stddef.h>

extern "C" {
#include <gifti_io.h>
}

#include "standin/base/growing_text.h"

namespace standin {

// Names of the record fields in a GIfTI file's metadata: the prefix and the
// field's name, "zandrovix.visible" for instance.
constexpr const char* kGiftiFieldPrefix = "zandrovix.";

// Keeps standard error quiet while it lives.
class QuietStandardError {
 public:
  QuietStandardError();
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

// Owns a libgiftiio image; frees it when it goes.
struct GiftiImage {
  gifti_image* image = nullptr;
  GiftiImage() = default;
  ~GiftiImage();
  GiftiImage(const GiftiImage&) = delete;
  GiftiImage& operator=(const GiftiImage&) = delete;
};

// Copies `contents` to `out` with the legacy attribute values replaced by
// the names libgiftiio reads. Returns false when there is none to replace.
bool moderniseGiftiValues(const GrowingText& contents, GrowingText* out);

// A temporary file of this process, removed when it goes.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Writes `contents` to a new temporary file. Returns false when it cannot.
  bool write(const GrowingText& contents);
  const char* path() const { return path_; }

 private:
  char path_[4096] = "";
};

// Whether an attribute ExternalFileName with a value that is not empty
// occurs in the XML text: attribute names cannot be escaped, so this finds
// every one.
bool namesExternalFile(const unsigned char* data, size_t size);

// Runs `work(context)` in a child process with the default signal
// handlers and standard error quiet. Returns true when the child ended
// normally (whatever `work` found), false when it crashed or could not run.
bool survivesInChild(void (*work)(void*), void* context);

// A colour component from 0 to 1 as a byte, rounded; below 0 and NaN give
// 0, 1 and above 255.
unsigned char colorByte(float component);

}  // namespace standin
