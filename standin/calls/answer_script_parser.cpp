#include "standin/calls/answer_script_parser.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace standin {

namespace {

struct KeywordKind {
  const char* keyword;
  AnswerKind kind;
};

const KeywordKind kKeywords[] = {
    {"number", AnswerKind::kNumber}, {"text", AnswerKind::kText}, {"yes", AnswerKind::kYes},
    {"no", AnswerKind::kNo},         {"file", AnswerKind::kFile}, {"cancel", AnswerKind::kCancel},
};

bool isBlank(char character) {
  return character == ' ' || character == '\t';
}

// Parses a whole signed 32-bit decimal number, blanks around it allowed.
bool parseInt(const char* text, size_t length, int* value) {
  size_t at = 0;
  while (at < length && isBlank(text[at])) ++at;
  bool negative = false;
  if (at < length && (text[at] == '-' || text[at] == '+')) {
    negative = text[at] == '-';
    ++at;
  }
  size_t firstDigit = at;
  long long magnitude = 0;
  while (at < length && text[at] >= '0' && text[at] <= '9') {
    magnitude = magnitude * 10 + (text[at] - '0');
    if (magnitude > 2147483648LL) return false;
    ++at;
  }
  if (at == firstDigit) return false;
  while (at < length && isBlank(text[at])) ++at;
  if (at != length) return false;
  long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX || signedValue < INT_MIN) return false;
  *value = static_cast<int>(signedValue);
  return true;
}

}  // namespace

const char* answerKeyword(AnswerKind kind) {
  for (const KeywordKind& entry : kKeywords) {
    if (entry.kind == kind) return entry.keyword;
  }
  return "?";
}

AnswerScript::~AnswerScript() {
  release();
}

void AnswerScript::release() {
  for (int index = 0; index < count_; ++index) free(const_cast<char*>(answers_[index].text));
  free(answers_);
  answers_ = nullptr;
  count_ = 0;
  capacity_ = 0;
  position_ = 0;
}

bool AnswerScript::add(AnswerKind kind, int number, const char* text, size_t textLength, int line) {
  if (count_ == capacity_) {
    int capacity = capacity_ == 0 ? 16 : capacity_ * 2;
    void* grown = realloc(answers_, sizeof(Answer) * static_cast<size_t>(capacity));
    if (grown == nullptr) return false;
    answers_ = static_cast<Answer*>(grown);
    capacity_ = capacity;
  }
  char* copy = static_cast<char*>(malloc(textLength + 1));
  if (copy == nullptr) return false;
  if (textLength > 0) memcpy(copy, text, textLength);
  copy[textLength] = '\0';
  answers_[count_] = Answer{kind, number, copy, line};
  ++count_;
  return true;
}

bool AnswerScript::parse(const char* text, size_t length, GrowingText* error) {
  release();
  if (parseLines(text, length, error)) return true;
  release();
  return false;
}

bool AnswerScript::parseLines(const char* text, size_t length, GrowingText* error) {
  int lineNumber = 0;
  size_t lineStart = 0;
  while (lineStart < length) {
    ++lineNumber;
    size_t lineEnd = lineStart;
    while (lineEnd < length && text[lineEnd] != '\n') ++lineEnd;
    size_t next = lineEnd + 1;
    if (lineEnd > lineStart && text[lineEnd - 1] == '\r') --lineEnd;
    size_t at = lineStart;
    while (at < lineEnd && isBlank(text[at])) ++at;
    lineStart = next;
    if (at == lineEnd || text[at] == '#') continue;

    size_t wordEnd = at;
    while (wordEnd < lineEnd && !isBlank(text[wordEnd])) ++wordEnd;
    const KeywordKind* found = nullptr;
    for (const KeywordKind& entry : kKeywords) {
      if (strlen(entry.keyword) == wordEnd - at &&
          memcmp(entry.keyword, text + at, wordEnd - at) == 0) {
        found = &entry;
      }
    }
    if (found == nullptr) {
      error->appendFormat("line %d: unknown answer \"%.*s\"", lineNumber,
                          static_cast<int>(wordEnd - at), text + at);
      return false;
    }
    // The argument starts after exactly one blank; "text" keeps the rest of
    // the line as it is, blanks included.
    const char* argument = text + wordEnd;
    size_t argumentLength = lineEnd - wordEnd;
    if (argumentLength > 0) {
      ++argument;
      --argumentLength;
    }
    int number = 0;
    switch (found->kind) {
      case AnswerKind::kNumber:
        if (!parseInt(argument, argumentLength, &number)) {
          error->appendFormat("line %d: \"number\" needs one whole number from %d to %d",
                              lineNumber, INT_MIN, INT_MAX);
          return false;
        }
        argumentLength = 0;
        break;
      case AnswerKind::kText:
      case AnswerKind::kFile:
        break;
      case AnswerKind::kYes:
      case AnswerKind::kNo:
      case AnswerKind::kCancel:
        for (size_t index = 0; index < argumentLength; ++index) {
          if (!isBlank(argument[index])) {
            error->appendFormat("line %d: \"%s\" takes nothing after it", lineNumber,
                                found->keyword);
            return false;
          }
        }
        argumentLength = 0;
        break;
    }
    if (!add(found->kind, number, argument, argumentLength, lineNumber)) {
      error->appendFormat("line %d: out of memory", lineNumber);
      return false;
    }
  }
  return true;
}

const Answer* AnswerScript::next() {
  if (position_ >= count_) return nullptr;
  return &answers_[position_++];
}

}  // namespace standin
