#pragma once

// Reading an HTML colour code written in hexadecimal digits.

#include <stdint.h>

#include "host/host_records.h"

// The value of the digits '0'-'9' and 'A'-'F' of `text` at their positions,
// counted from the last character, every other character taking a position
// but adding nothing. Values above 2147483647 give -2147483648. Pure.
int32_t hexToDecimal(const char* text);

// Asks the user for a colour code and logs the text entered and its decimal
// value. Returns false, having logged nothing, when the user cancels (or the
// host lacks the text prompt or the log); otherwise stores the value in
// `colour` and returns true.
bool askHexColor(int32_t* colour);

// Menu function 4: askHexColor, which logs the code entered and its decimal
// value; the surface plays no part.
void convertHexColor(const SurfaceRecord& surface);
