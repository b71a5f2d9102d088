#include "standin/files/gifti_library.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace standin {

namespace {

int openNull() {
  FILE* sink = fopen("/dev/null", "w");
  if (sink == nullptr) return -1;
  int descriptor = dup(fileno(sink));
  fclose(sink);
  return descriptor;
}

}  // namespace

QuietStandardError::QuietStandardError() {
  fflush(stderr);
  saved_ = dup(2);
  int sink = openNull();
  if (saved_ >= 0 && sink >= 0) dup2(sink, 2);
  if (sink >= 0) close(sink);
}

QuietStandardError::~QuietStandardError() {
  if (saved_ < 0) return;
  fflush(stderr);
  dup2(saved_, 2);
  close(saved_);
}

GiftiImage::~GiftiImage() {
  if (image == nullptr) return;
  QuietStandardError quiet;
  gifti_free_image(image);
}

TemporaryFile::~TemporaryFile() {
  if (path_[0] != '\0') remove(path_);
}

bool TemporaryFile::write(const GrowingText& contents) {
  const char* folder = getenv("TMPDIR");
  int length = snprintf(path_, sizeof(path_), "%s/zandrovix-gifti-XXXXXX",
                        folder != nullptr && folder[0] != '\0' ? folder : "/tmp");
  if (length < 0 || static_cast<size_t>(length) >= sizeof(path_)) {
    path_[0] = '\0';
    return false;
  }
  int descriptor = mkstemp(path_);
  if (descriptor < 0) {
    path_[0] = '\0';
    return false;
  }
  FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    return false;
  }
  bool written = fwrite(contents.text(), 1, contents.length(), file) == contents.length();
  return fclose(file) == 0 && written;
}

}  // namespace standin
