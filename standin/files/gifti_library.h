#pragma once

// What the stand-in's GIfTI writer needs around libgiftiio, in builds that
// have the library (the native ones, on POSIX systems); files are read
// without it (gifti_file_read.cpp).
//
// libgiftiio writes its own complaints to standard error whatever its
// verbosity, and writes files only (no memory) without checking its
// writes. Hence: standard error is quiet around every call, and the file is
// written to a temporary file first.

#include <stddef.h>

extern "C" {
#include <gifti_io.h>
}

#include "standin/base/growing_text.h"
#include "standin/files/gifti_common.h"

namespace standin {

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

}  // namespace standin
