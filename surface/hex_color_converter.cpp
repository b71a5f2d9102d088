#include "surface/hex_color_converter.h"

#include <stdio.h>

#include "host/host_function_table.h"

namespace {

const char kEnteredFormat[] = "The color entered in hexadecimal format is: %s";
const char* const kDecimalFormat = "The corresponding decimal value is: %d";

const HostEntry kConverterNeeds[] = {HostEntry::zvGetTextInput, HostEntry::zvLogText};

constexpr int32_t kSaturated = -2147483647 - 1;
constexpr uint64_t kLargestValue = 0x7FFFFFFFu;

// The value of each byte as a hexadecimal digit: '0'-'9' and 'A'-'F' count,
// every other byte (small letters included) is a digit 0. Written out as a
// table, one row per 16 bytes; the rows from 0x50 on are all zero.
constexpr unsigned char kDigitValues[256] = {
    0, 0,  0,  0,  0,  0,  0,  0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x00
    0, 0,  0,  0,  0,  0,  0,  0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x10
    0, 0,  0,  0,  0,  0,  0,  0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x20
    0, 1,  2,  3,  4,  5,  6,  7, 8, 9, 0, 0, 0, 0, 0, 0,  // 0x30: '0' to '9'
    0, 10, 11, 12, 13, 14, 15, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x40: 'A' to 'F'
};
static_assert('0' == 0x30 && '9' == 0x39 && 'A' == 0x41 && 'F' == 0x46, "texts are ASCII");

}  // namespace

int32_t hexToDecimal(const char* text) {
  // Read from the first character on, every character shifts the digits
  // before it up one position, so the total is the value of all digits at
  // their positions counted from the last. A value above the largest int32_t
  // only grows with further characters, so it ends the reading at once.
  // Below that bound total * 16 + 15 stays far inside 64 bits.
  uint64_t total = 0;
  for (const unsigned char* next = reinterpret_cast<const unsigned char*>(text); *next != 0;
       ++next) {
    total = total * 16 + kDigitValues[*next];
    if (total > kLargestValue) return kSaturated;
  }
  return static_cast<int32_t>(total);
}

bool askHexColor(int32_t* colour) {
  if (!hostProvides(kConverterNeeds)) return false;
  char prompt[] = "Please enter the color in hexadecimals (without 0x)";
  char preset[] = "FFFFFF";
  // The host takes the prompt and the preset as writable texts, so each lives
  // in an array of its own, exactly the text and its terminator: a host that
  // writes into one can change nothing else. The sizes pin the texts shown.
  static_assert(sizeof(prompt) == 52 && sizeof(preset) == 7, "prompt sizes");
  char answer[kHostTextSize] = {};
  if (hostFunctions.zvGetTextInput(prompt, preset, answer) <= 0) return false;
  answer[kHostTextSize - 1] = '\0';

  // Room for the longest answer the host may give, so the line is never cut.
  char line[sizeof(kEnteredFormat) + kHostTextSize];
  snprintf(line, sizeof(line), kEnteredFormat, answer);
  hostFunctions.zvLogText(line);
  int32_t value = hexToDecimal(answer);
  snprintf(line, sizeof(line), kDecimalFormat, static_cast<int>(value));
  hostFunctions.zvLogText(line);
  *colour = value;
  return true;
}

void convertHexColor(const SurfaceRecord&) {
  int32_t colour = 0;
  askHexColor(&colour);
}
