#pragma once

// The Data text of one GIfTI DataArray, decoded as it streams in, into a
// buffer of exactly the size the array's dimensions give. Text that holds
// fewer or more values than that is refused: a compressed array is
// inflated into that buffer alone, so no input makes it use more memory.

#include <stddef.h>
#include <stdint.h>
#include <zlib.h>

#include "standin/base/growing_text.h"

namespace standin {

enum class GiftiEncoding { kAscii, kBase64Binary, kGzipBase64Binary };

// How the values of a data type are written as ASCII text, when they can be.
enum class GiftiNumberKind { kSigned, kUnsigned, kFloat, kNotAscii };

// What the decoder needs to know about an array's values.
struct GiftiValueLayout {
  GiftiNumberKind kind;
  // Bytes per value, and per byte-swapped unit within a value (0: none).
  int size;
  int swapSize;
};

class GiftiArrayData {
 public:
  GiftiArrayData() = default;
  ~GiftiArrayData();
  GiftiArrayData(const GiftiArrayData&) = delete;
  GiftiArrayData& operator=(const GiftiArrayData&) = delete;

  // Starts decoding `encoding` text into `out`, `bytes` long, which stays
  // the caller's; `bigEndian` tells the byte order of binary data. Returns
  // false with a message in `error` when memory runs out.
  bool begin(GiftiEncoding encoding, const GiftiValueLayout& layout, bool bigEndian,
             unsigned char* out, size_t bytes, GrowingText* error);

  // Decodes the next `length` bytes of the Data text. Returns false with a
  // message in `error` when the text is not of the encoding or holds more
  // than the buffer takes.
  bool take(const char* text, size_t length, GrowingText* error);

  // Ends the text: returns false with a message in `error` unless the
  // buffer is exactly full, and puts binary values in this machine's order.
  bool finish(GrowingText* error);

 private:
  bool takeAscii(const char* text, size_t length, GrowingText* error);
  bool takeBase64(const char* text, size_t length, GrowingText* error);
  bool emit(const unsigned char* bytes, size_t count, GrowingText* error);
  bool inflateStaged(bool last, GrowingText* error);
  bool storeNumber(const char* begin, const char* end, GrowingText* error);
  void releaseInflater();

  GiftiEncoding encoding_ = GiftiEncoding::kAscii;
  GiftiValueLayout layout_ = {GiftiNumberKind::kNotAscii, 1, 0};
  bool swap_ = false;
  unsigned char* out_ = nullptr;
  size_t size_ = 0;
  size_t filled_ = 0;
  // Base64: the sextets of an unfinished group, and whether padding ended
  // the text.
  uint32_t group_ = 0;
  int groupLength_ = 0;
  bool padded_ = false;
  // ASCII: a number cut by the end of the last piece of text.
  char token_[64] = "";
  size_t tokenLength_ = 0;
  // GZipBase64Binary: the decoded, still compressed bytes not inflated yet.
  z_stream inflater_ = {};
  bool inflating_ = false;
  bool streamEnded_ = false;
  unsigned char* staged_ = nullptr;
  size_t stagedLength_ = 0;
};

}  // namespace standin
