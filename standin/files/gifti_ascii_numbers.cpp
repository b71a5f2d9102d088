// Reading the numbers of GIfTI ASCII data; see gifti_ascii_numbers.h.

#include "standin/files/gifti_ascii_numbers.h"

#include <ctype.h>
#include <float.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

namespace {

const double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isDigit(char character) {
  return character >= '0' && character <= '9';
}

// The decimal number that is all of [at, end), when it has at most 15
// significant digits and a power of ten within 10^22 either way: then the
// digits and the power are exact doubles and one multiplication or division
// rounds them, so the result is the one strtod gives (Clinger's fast
// path). Returns false for anything else, which strtod reads instead.
bool exactDecimal(const char* at, const char* end, double* value) {
  bool negative = false;
  if (at < end && (*at == '-' || *at == '+')) negative = *at++ == '-';
  uint64_t digits = 0;
  int significant = 0;
  int scale = 0;
  bool any = false;
  for (; at < end && isDigit(*at); ++at) {
    any = true;
    if (digits == 0 && *at == '0') continue;
    if (++significant > 15) return false;
    digits = digits * 10 + static_cast<uint64_t>(*at - '0');
  }
  if (at < end && *at == '.') {
    for (++at; at < end && isDigit(*at); ++at) {
      any = true;
      --scale;
      if (digits == 0 && *at == '0') continue;
      if (++significant > 15) return false;
      digits = digits * 10 + static_cast<uint64_t>(*at - '0');
    }
  }
  if (!any) return false;
  if (at < end && (*at == 'e' || *at == 'E')) {
    ++at;
    bool negativePower = false;
    if (at < end && (*at == '-' || *at == '+')) negativePower = *at++ == '-';
    if (at == end) return false;
    int power = 0;
    for (; at < end && isDigit(*at); ++at) {
      if (power < 1000) power = power * 10 + (*at - '0');
    }
    scale += negativePower ? -power : power;
  }
  if (at != end || scale < -22 || scale > 22) return false;
  double result = static_cast<double>(digits);
  result = scale < 0 ? result / kPowersOfTen[-scale] : result * kPowersOfTen[scale];
  *value = negative ? -result : result;
  return true;
}

// The integer that is all of [at, end) when it has at most 18 digits, which
// no 64-bit type overflows; its bits as a cast to uint64_t gives them.
bool exactInteger(const char* at, const char* end, uint64_t* bits) {
  bool negative = false;
  if (at < end && (*at == '-' || *at == '+')) negative = *at++ == '-';
  if (at == end || end - at > 18) return false;
  uint64_t value = 0;
  for (; at < end; ++at) {
    if (!isDigit(*at)) return false;
    value = value * 10 + static_cast<uint64_t>(*at - '0');
  }
  *bits = negative ? ~value + 1 : value;
  return true;
}

void strtodWhole(const char* text, char** end, double* value) {
  *value = strtod(text, end);
}
void strtollWhole(const char* text, char** end, uint64_t* bits) {
  *bits = static_cast<uint64_t>(strtoll(text, end, 10));
}
void strtoullWhole(const char* text, char** end, uint64_t* bits) {
  *bits = static_cast<uint64_t>(strtoull(text, end, 10));
}

// Reads [begin, end) with `parse` (a C runtime reader) from a terminated
// copy. Returns whether it read all of it. The C runtime's readers skip
// white space before a number; the values of the text are split at blanks,
// so any that is left (a vertical tab, a form feed) is no XML character,
// and a value that starts with one is no number either.
template <typename Value>
bool parseWhole(const char* begin, const char* end, void (*parse)(const char*, char**, Value*),
                Value* value) {
  char copy[64];
  const size_t length = static_cast<size_t>(end - begin);
  if (length == 0 || length >= sizeof(copy) || isspace(static_cast<unsigned char>(*begin)) != 0) {
    return false;
  }
  memcpy(copy, begin, length);
  copy[length] = '\0';
  char* stop = nullptr;
  parse(copy, &stop, value);
  return stop == copy + length;
}

}  // namespace

bool readAsciiFloat(const char* begin, const char* end, double* value) {
  return exactDecimal(begin, end, value) || parseWhole(begin, end, strtodWhole, value);
}

bool readAsciiInteger(const char* begin, const char* end, bool isSigned, uint64_t* bits) {
  return exactInteger(begin, end, bits) ||
         parseWhole(begin, end, isSigned ? strtollWhole : strtoullWhole, bits);
}

float roundedToFloat(double value) {
  const double halfStepBeyond = 0x1.ffffffp+127;
  if (value >= halfStepBeyond) return static_cast<float>(HUGE_VAL);
  if (value <= -halfStepBeyond) return -static_cast<float>(HUGE_VAL);
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

float narrowedToFloat(double value) {
  if (value > FLT_MAX) return static_cast<float>(HUGE_VAL);
  if (value < -FLT_MAX) return -static_cast<float>(HUGE_VAL);
  return static_cast<float>(value);
}

}  // namespace standin
