#include "surface/hex_colour_converter.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "host/host_function_table.h"

namespace {

const char kEnteredFormat[] = "The color entered in hexadecimal format is: %s";
const char* const kDecimalFormat = "The corresponding decimal value is: %d";

const HostEntry kConverterNeeds[] = {HostEntry::zvGetTextInput, HostEntry::zvLogText};

constexpr int32_t kSaturated = -2147483647 - 1;

// The value of a hexadecimal digit, or -1 for any other character.
int digitValue(char character) {
  if (character >= '0' && character <= '9') return character - '0';
  if (character >= 'A' && character <= 'F') return character - 'A' + 10;
  return -1;
}

// total + term, truncated toward zero; a sum outside int32_t gives
// kSaturated. Sums are whole numbers, and never NaN since terms are finite or
// +infinity.
int32_t addTerm(int32_t total, double term) {
  double sum = static_cast<double>(total) + term;
  if (!(sum <= 2147483647.0 && sum >= -2147483648.0)) return kSaturated;
  return static_cast<int32_t>(sum);
}

}  // namespace

int32_t hexToDecimal(const char* text) {
  int32_t total = 0;
  size_t length = strlen(text);
  for (size_t position = 0; position < length; ++position) {
    int value = digitValue(text[length - 1 - position]);
    // A zero digit adds nothing; skipping it also keeps 0 * infinity out.
    if (value <= 0) continue;
    total = addTerm(total, value * pow(16.0, static_cast<double>(position)));
  }
  return total;
}

bool askHexColor(int32_t* colour) {
  if (!hostProvides(kConverterNeeds)) return false;
  char prompt[] = "Please enter the color in hexadecimals (without 0x)";
  char preset[] = "FFFFFF";
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

int32_t convertHexColor() {
  int32_t colour = 0;
  return askHexColor(&colour) ? colour : 0;
}
