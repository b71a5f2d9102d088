#pragma once

// The one builder of a numbered list of menu functions, used for the
// description the host shows and for the run's menu.

#include <stdint.h>

#include "plugin/function_catalogue.h"

// Size of every buffer that buildFunctionMenu returns: 64 KiB, far more than
// the five titles take, so that the menu is never cut short.
constexpr int kMenuTextSize = 65536;

// Returns a new 65,536-byte buffer (caller frees with free()) holding
// `heading`, a separator, one numbered line with the title of each of
// `functions[0..count)` (numbered by position from 1) and `trailer`, with
// HTML or plain line breaks. Lines that would not fit are left out whole.
// Null when memory runs out.
char* buildFunctionMenu(const char* heading, const MenuFunction* functions, int32_t count,
                        bool html, const char* trailer);
