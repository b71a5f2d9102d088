#pragma once

// A script of answers to the host's prompts, so that a session runs without
// a person. One answer per line; blank lines and lines starting with "#" are
// skipped; leading blanks are ignored:
//
//   number N        integer prompt: N (any int, even outside the bounds)
//   text SOMETHING  text prompt: the rest of the line after one blank
//                   ("text" alone is the empty answer)
//   yes / no        yes/no question
//   file NAME       save dialog: NAME
//   cancel          any prompt: cancelled
//
// Message boxes take no answer.

#include "standin/base/growing_text.h"

namespace standin {

enum class AnswerKind { kNumber, kText, kYes, kNo, kFile, kCancel };

struct Answer {
  AnswerKind kind;
  int number;
  // The text of `text` and `file` answers, "" otherwise; owned by the
  // script.
  const char* text;
  // The answer's line in the script, counted from 1.
  int line;
};

// The word that starts an answer of `kind` in a script ("number", ...).
const char* answerKeyword(AnswerKind kind);

class AnswerScript {
 public:
  AnswerScript() = default;
  ~AnswerScript();
  AnswerScript(const AnswerScript&) = delete;
  AnswerScript& operator=(const AnswerScript&) = delete;

  // Parses `length` bytes of `text`, replacing what was parsed before.
  // Returns false, with no answers and a message naming the line in
  // `error`, when a line is not an answer.
  bool parse(const char* text, size_t length, GrowingText* error);

  // The next unused answer, consumed; null when the script has run out.
  const Answer* next();

  int size() const { return count_; }
  int unused() const { return count_ - position_; }
  // The next unused answer without consuming it; null when none is left.
  const Answer* peek() const { return position_ < count_ ? &answers_[position_] : nullptr; }

 private:
  void release();
  bool parseLines(const char* text, size_t length, GrowingText* error);
  bool add(AnswerKind kind, int number, const char* text, size_t textLength, int line);

  Answer* answers_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  int position_ = 0;
};

}  // namespace standin
