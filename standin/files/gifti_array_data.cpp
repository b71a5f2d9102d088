// Decoding GIfTI Data text; see gifti_array_data.h.

#include "standin/files/gifti_array_data.h"

#include <stdlib.h>
#include <string.h>

#include "standin/files/gifti_ascii_numbers.h"

namespace standin {

namespace {

// Compressed bytes decoded from Base64 and waiting to be inflated.
const size_t kStagedSize = 1 << 16;

// The value of each Base64 character; white space, the padding and any
// other character have values of their own above 63.
const unsigned char kSpace = 64;
const unsigned char kPadding = 65;
const unsigned char kNotBase64 = 66;

struct Base64Table {
  unsigned char value[256];
  constexpr Base64Table() : value() {
    for (int index = 0; index < 256; ++index) value[index] = kNotBase64;
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int index = 0; index < 64; ++index)
      value[static_cast<unsigned char>(alphabet[index])] = static_cast<unsigned char>(index);
    value[static_cast<unsigned char>(' ')] = value[static_cast<unsigned char>('\t')] = kSpace;
    value[static_cast<unsigned char>('\n')] = value[static_cast<unsigned char>('\r')] = kSpace;
    value[static_cast<unsigned char>('=')] = kPadding;
  }
};
constexpr Base64Table kBase64;

bool isSpace(char character) {
  return character == ' ' || character == '\n' || character == '\t' || character == '\r';
}

bool machineIsBigEndian() {
  const uint16_t probe = 1;
  unsigned char first = 0;
  memcpy(&first, &probe, 1);
  return first == 0;
}

// Reverses the bytes of each `unit`-byte piece of `data`.
void swapUnits(unsigned char* data, size_t size, int unit) {
  const size_t width = static_cast<size_t>(unit);
  for (size_t at = 0; at + width <= size; at += width) {
    for (size_t low = at, high = at + width - 1; low < high; ++low, --high) {
      unsigned char kept = data[low];
      data[low] = data[high];
      data[high] = kept;
    }
  }
}

}  // namespace

GiftiArrayData::~GiftiArrayData() {
  releaseInflater();
}

void GiftiArrayData::releaseInflater() {
  if (inflating_) inflateEnd(&inflater_);
  inflating_ = false;
  free(staged_);
  staged_ = nullptr;
}

bool GiftiArrayData::begin(GiftiEncoding encoding, const GiftiValueLayout& layout, bool bigEndian,
                           unsigned char* out, size_t bytes, GrowingText* error) {
  releaseInflater();
  encoding_ = encoding;
  layout_ = layout;
  // ASCII values are stored in this machine's order as they are read.
  swap_ =
      encoding != GiftiEncoding::kAscii && bigEndian != machineIsBigEndian() && layout.swapSize > 1;
  out_ = out;
  size_ = bytes;
  filled_ = 0;
  group_ = 0;
  groupLength_ = 0;
  padded_ = false;
  tokenLength_ = 0;
  streamEnded_ = false;
  stagedLength_ = 0;
  if (encoding == GiftiEncoding::kAscii && layout.kind == GiftiNumberKind::kNotAscii) {
    error->append("has a data type that is not read as ASCII text");
    return false;
  }
  if (encoding != GiftiEncoding::kGzipBase64Binary) return true;
  staged_ = static_cast<unsigned char*>(malloc(kStagedSize));
  inflater_ = z_stream{};
  if (staged_ == nullptr || inflateInit(&inflater_) != Z_OK) {
    error->append("cannot be decoded: out of memory");
    return false;
  }
  inflating_ = true;
  return true;
}

bool GiftiArrayData::take(const char* text, size_t length, GrowingText* error) {
  return encoding_ == GiftiEncoding::kAscii ? takeAscii(text, length, error)
                                            : takeBase64(text, length, error);
}

bool GiftiArrayData::storeNumber(const char* begin, const char* end, GrowingText* error) {
  const size_t width = static_cast<size_t>(layout_.size);
  if (width > size_ - filled_) {
    error->appendFormat("holds more than the %zu values its dimensions give", size_ / width);
    return false;
  }
  unsigned char* slot = out_ + filled_;
  bool read = false;
  if (layout_.kind == GiftiNumberKind::kFloat) {
    double value = 0;
    read = readAsciiFloat(begin, end, &value);
    if (width == 4) {
      float narrow = roundedToFloat(value);
      memcpy(slot, &narrow, 4);
    } else {
      memcpy(slot, &value, 8);
    }
  } else {
    // Integers keep their low bytes, as a cast to the type would.
    uint64_t bits = 0;
    read = readAsciiInteger(begin, end, layout_.kind == GiftiNumberKind::kSigned, &bits);
    uint8_t byte = static_cast<uint8_t>(bits);
    uint16_t half = static_cast<uint16_t>(bits);
    uint32_t word = static_cast<uint32_t>(bits);
    const void* source = width == 1   ? static_cast<const void*>(&byte)
                         : width == 2 ? static_cast<const void*>(&half)
                         : width == 4 ? static_cast<const void*>(&word)
                                      : static_cast<const void*>(&bits);
    memcpy(slot, source, width);
  }
  if (!read) {
    const int shown = end - begin < 32 ? static_cast<int>(end - begin) : 32;
    error->appendFormat("holds \"%.*s\" among its ASCII values, which is not a number", shown,
                        begin);
    return false;
  }
  filled_ += width;
  return true;
}

bool GiftiArrayData::takeAscii(const char* text, size_t length, GrowingText* error) {
  const char* at = text;
  const char* const end = text + length;
  if (tokenLength_ > 0) {
    // The rest of the number that the last piece of text cut.
    const char* rest = at;
    while (rest < end && !isSpace(*rest)) ++rest;
    if (static_cast<size_t>(rest - at) >= sizeof(token_) - tokenLength_) {
      error->append("holds an ASCII value too long to be a number");
      return false;
    }
    memcpy(token_ + tokenLength_, at, static_cast<size_t>(rest - at));
    tokenLength_ += static_cast<size_t>(rest - at);
    at = rest;
    if (at == end) return true;
    size_t cut = tokenLength_;
    tokenLength_ = 0;
    if (!storeNumber(token_, token_ + cut, error)) return false;
  }
  while (true) {
    while (at < end && isSpace(*at)) ++at;
    if (at == end) return true;
    const char* start = at;
    while (at < end && !isSpace(*at)) ++at;
    if (at == end) {
      // Cut by the end of this piece: kept until the next one.
      if (static_cast<size_t>(at - start) >= sizeof(token_)) {
        error->append("holds an ASCII value too long to be a number");
        return false;
      }
      memcpy(token_, start, static_cast<size_t>(at - start));
      tokenLength_ = static_cast<size_t>(at - start);
      return true;
    }
    if (!storeNumber(start, at, error)) return false;
  }
}

bool GiftiArrayData::takeBase64(const char* text, size_t length, GrowingText* error) {
  const unsigned char* table = kBase64.value;
  const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
  unsigned char decoded[3 * 1024];
  size_t count = 0;
  size_t at = 0;
  while (at < length) {
    if (count + 3 > sizeof(decoded)) {
      if (!emit(decoded, count, error)) return false;
      count = 0;
    }
    // Whole groups of four characters at once while there are such.
    if (groupLength_ == 0 && !padded_) {
      while (at + 4 <= length && count + 3 <= sizeof(decoded)) {
        uint32_t first = table[in[at]], second = table[in[at + 1]];
        uint32_t third = table[in[at + 2]], fourth = table[in[at + 3]];
        if ((first | second | third | fourth) > 63) break;
        uint32_t bits = (first << 18) | (second << 12) | (third << 6) | fourth;
        decoded[count] = static_cast<unsigned char>(bits >> 16);
        decoded[count + 1] = static_cast<unsigned char>(bits >> 8);
        decoded[count + 2] = static_cast<unsigned char>(bits);
        count += 3;
        at += 4;
      }
      if (at == length || count + 3 > sizeof(decoded)) continue;
    }
    unsigned char value = table[in[at++]];
    if (value == kSpace) continue;
    if (value == kNotBase64) {
      error->append("holds a character that is not Base64 in its data");
      return false;
    }
    if (value == kPadding) {
      // "xx==" gives one byte, "xxx=" two; more padding changes nothing.
      // Padding after a whole group ends the text too, as the GIfTI library
      // read it.
      if (groupLength_ == 2) decoded[count++] = static_cast<unsigned char>(group_ >> 4);
      if (groupLength_ == 3) {
        decoded[count++] = static_cast<unsigned char>(group_ >> 10);
        decoded[count++] = static_cast<unsigned char>(group_ >> 2);
      }
      if (groupLength_ == 1) {
        error->append("has Base64 padding in the wrong place");
        return false;
      }
      padded_ = true;
      groupLength_ = 0;
      group_ = 0;
      continue;
    }
    if (padded_) {
      error->append("has Base64 text after its padding");
      return false;
    }
    group_ = (group_ << 6) | value;
    if (++groupLength_ == 4) {
      decoded[count] = static_cast<unsigned char>(group_ >> 16);
      decoded[count + 1] = static_cast<unsigned char>(group_ >> 8);
      decoded[count + 2] = static_cast<unsigned char>(group_);
      count += 3;
      groupLength_ = 0;
      group_ = 0;
    }
  }
  return emit(decoded, count, error);
}

bool GiftiArrayData::emit(const unsigned char* bytes, size_t count, GrowingText* error) {
  if (encoding_ == GiftiEncoding::kBase64Binary) {
    if (count > size_ - filled_) {
      error->appendFormat("holds more than the %zu bytes its dimensions give", size_);
      return false;
    }
    if (count > 0) memcpy(out_ + filled_, bytes, count);
    filled_ += count;
    return true;
  }
  while (count > 0) {
    size_t part = kStagedSize - stagedLength_;
    if (part > count) part = count;
    memcpy(staged_ + stagedLength_, bytes, part);
    stagedLength_ += part;
    bytes += part;
    count -= part;
    if (stagedLength_ == kStagedSize && !inflateStaged(false, error)) return false;
  }
  return true;
}

bool GiftiArrayData::inflateStaged(bool last, GrowingText* error) {
  inflater_.next_in = staged_;
  inflater_.avail_in = static_cast<uInt>(stagedLength_);
  while (inflater_.avail_in > 0) {
    if (streamEnded_) {
      error->append("holds more data after its compressed data");
      return false;
    }
    size_t room = size_ - filled_;
    if (room > 1u << 30) room = 1u << 30;
    unsigned char none = 0;
    // Past the buffer's end inflate is given no room: a stream that still
    // has bytes to give then stops with Z_BUF_ERROR.
    inflater_.next_out = room > 0 ? out_ + filled_ : &none;
    inflater_.avail_out = static_cast<uInt>(room);
    int result = inflate(&inflater_, Z_NO_FLUSH);
    if (room > 0) filled_ = static_cast<size_t>(inflater_.next_out - out_);
    if (result == Z_STREAM_END) {
      streamEnded_ = true;
    } else if (result == Z_BUF_ERROR && room == 0) {
      error->appendFormat("holds more than the %zu bytes its dimensions give", size_);
      return false;
    } else if (result != Z_OK && result != Z_BUF_ERROR) {
      error->append("holds compressed data that is damaged");
      return false;
    } else if (result == Z_BUF_ERROR) {
      break;
    }
  }
  stagedLength_ = 0;
  if (last && !streamEnded_) {
    if (filled_ == size_) {
      error->append("holds compressed data that is cut short or longer than its dimensions");
    } else {
      error->appendFormat("holds %zu bytes of data, its dimensions need %zu", filled_, size_);
    }
    return false;
  }
  return true;
}

bool GiftiArrayData::finish(GrowingText* error) {
  if (encoding_ == GiftiEncoding::kAscii) {
    if (tokenLength_ > 0) {
      size_t cut = tokenLength_;
      tokenLength_ = 0;
      if (!storeNumber(token_, token_ + cut, error)) return false;
    }
  } else {
    unsigned char tail[2];
    size_t count = 0;
    if (groupLength_ == 1) {
      error->append("holds Base64 text that is cut short");
      return false;
    }
    // A last group without its padding.
    if (groupLength_ == 2) tail[count++] = static_cast<unsigned char>(group_ >> 4);
    if (groupLength_ == 3) {
      tail[count++] = static_cast<unsigned char>(group_ >> 10);
      tail[count++] = static_cast<unsigned char>(group_ >> 2);
    }
    groupLength_ = 0;
    if (!emit(tail, count, error)) return false;
    if (encoding_ == GiftiEncoding::kGzipBase64Binary && !inflateStaged(true, error)) return false;
  }
  if (filled_ != size_) {
    const size_t width = static_cast<size_t>(layout_.size);
    if (encoding_ == GiftiEncoding::kAscii) {
      error->appendFormat("holds %zu values, its dimensions give %zu", filled_ / width,
                          size_ / width);
    } else {
      error->appendFormat("holds %zu bytes of data, its dimensions need %zu", filled_, size_);
    }
    return false;
  }
  if (swap_) swapUnits(out_, size_, layout_.swapSize);
  releaseInflater();
  return true;
}

}  // namespace standin
