#include "standin/calls/terminal_dialogs.h"

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/terminal.h"
#include "standin/calls/rich_text.h"

namespace standin {

namespace {

const char* const kMessageHeading = "--- Zandrovix ---";
const char* const kPressEnter = "(press Enter)";
const char* const kNumberRule = "Number from %d to %d (empty line cancels): ";
const char* const kNoValidNumber = "No number is valid here (empty line cancels): ";
const char* const kNotANumber = "Please enter a whole number from %d to %d.\n";
const char* const kYesNoRule = "[y/n]: ";
const char* const kTextRule = "Text (Enter keeps \"%s\", a single . cancels): ";
const char* const kSaveRule = "Save as (folder %s, %s; empty line cancels): ";

bool atLineStart = true;

void write(const char* text) {
  size_t length = strlen(text);
  if (length == 0) return;
  fwrite(text, 1, length, stdout);
  atLineStart = text[length - 1] == '\n';
}

void startLine() {
  if (!atLineStart) write("\n");
}

void showRich(const char* text) {
  startLine();
  write(kMessageHeading);
  write("\n");
  GrowingText rendered;
  renderRichText(&rendered, text);
  write(rendered.text());
  startLine();
}

// Reads the answer to a prompt just shown. When the input is not a terminal
// the answer is echoed, so that the screen reads like a conversation.
bool readAnswer(GrowingText* line) {
  fflush(stdout);
  bool read = readLine(stdin, line);
  if (!standardInputIsTerminal()) {
    write(read ? line->text() : "(end of input)");
    write("\n");
  } else {
    atLineStart = true;
  }
  return read;
}

bool parseNumber(const char* text, int* value) {
  errno = 0;
  char* end = nullptr;
  long long number = strtoll(text, &end, 10);
  if (end == text || errno != 0 || number < INT_MIN || number > INT_MAX) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return false;
  *value = static_cast<int>(number);
  return true;
}

}  // namespace

void terminalMessage(const char* text) {
  showRich(text);
  if (!standardInputIsTerminal()) return;
  write(kPressEnter);
  GrowingText line;
  readAnswer(&line);
}

void terminalPluginBanner(const char* name, const char* author, const char* description) {
  startLine();
  write("Plug-in: ");
  write(name != nullptr ? name : "");
  GrowingText credit;
  renderRichText(&credit, author);
  if (!credit.empty()) {
    write(", ");
    write(credit.text());
  }
  showRich(description);
}

void terminalLog(const char* text) {
  startLine();
  write(text != nullptr ? text : "");
  startLine();
}

bool terminalInteger(const char* prompt, int lowest, int highest, int* value) {
  showRich(prompt);
  GrowingText line;
  for (;;) {
    GrowingText rule;
    if (lowest <= highest) {
      rule.appendFormat(kNumberRule, lowest, highest);
    } else {
      rule.append(kNoValidNumber);
    }
    write(rule.text());
    if (!readAnswer(&line) || line.empty()) return false;
    int number = 0;
    if (parseNumber(line.text(), &number) && number >= lowest && number <= highest) {
      *value = number;
      return true;
    }
    if (lowest <= highest) {
      GrowingText complaint;
      complaint.appendFormat(kNotANumber, lowest, highest);
      write(complaint.text());
    }
  }
}

bool terminalYesNo(const char* question) {
  showRich(question);
  GrowingText line;
  for (;;) {
    write(kYesNoRule);
    if (!readAnswer(&line)) return false;
    const char* text = line.text();
    if (strcmp(text, "y") == 0 || strcmp(text, "Y") == 0 || strcmp(text, "yes") == 0) return true;
    if (strcmp(text, "n") == 0 || strcmp(text, "N") == 0 || strcmp(text, "no") == 0) return false;
  }
}

bool terminalText(const char* prompt, const char* preset, GrowingText* answer) {
  showRich(prompt);
  GrowingText rule;
  rule.appendFormat(kTextRule, preset != nullptr ? preset : "");
  write(rule.text());
  GrowingText line;
  if (!readAnswer(&line) || strcmp(line.text(), ".") == 0) return false;
  answer->clear();
  answer->append(line.empty() && preset != nullptr ? preset : line.text());
  return true;
}

bool terminalSaveFileName(const char* title, const char* folder, const char* filter,
                          GrowingText* fileName) {
  showRich(title);
  GrowingText rule;
  rule.appendFormat(kSaveRule, folder != nullptr ? folder : "", filter != nullptr ? filter : "");
  write(rule.text());
  if (!readAnswer(fileName) || fileName->empty()) return false;
  return true;
}

}  // namespace standin
