#pragma once

// The host's dialogs and log on a terminal, for a person running the
// stand-in without a script. Output goes to standard output, answers come
// from standard input; the end of the input cancels any prompt.

#include "standin/base/growing_text.h"

namespace standin {

// Shows the rich text `text`; waits for Enter when the input is a terminal.
void terminalMessage(const char* text);

// Introduces the loaded plug-in: its name, author line and description, the
// last two as rich text.
void terminalPluginBanner(const char* name, const char* author, const char* description);

// Shows a log text on a line of its own.
void terminalLog(const char* text);

// Asks until a number from `lowest` to `highest` is entered. Returns false
// when cancelled (empty line or end of input).
bool terminalInteger(const char* prompt, int lowest, int highest, int* value);

// Asks until y(es) or n(o) is entered; the end of the input is no.
bool terminalYesNo(const char* question);

// Asks for a text: an empty line accepts `preset`, a single "." cancels.
// Returns false when cancelled.
bool terminalText(const char* prompt, const char* preset, GrowingText* answer);

// Asks for a file name to save in `folder`, the folder the dialog shows; an
// empty line cancels. Returns false when cancelled.
bool terminalSaveFileName(const char* title, const char* folder, const char* filter,
                          GrowingText* fileName);

}  // namespace standin
