#include "standin/calls/scripted_dialogs.h"

#include <stdlib.h>

#include "standin/base/trace.h"

namespace standin {

namespace {

// Exit code of a session whose script did not fit its prompts.
const int kScriptErrorExitCode = 3;
// A plug-in that keeps asking after the script failed would never end.
const int kPromptsAfterScriptErrorLimit = 1000;

void failScript(HostState* state, const GrowingText& reason) {
  state->scriptFailed = true;
  traceHost("script error: %s", reason.text());
  fprintf(stderr, "Zandrovix.exe: script error: %s\n", reason.text());
}

// The next answer if it is of kind `wanted` or a cancel; null (a cancel)
// after a script error.
const Answer* takeAnswer(HostState* state, const char* function, AnswerKind wanted,
                         AnswerKind alsoWanted) {
  if (state->scriptFailed) {
    if (++state->promptsAfterScriptError > kPromptsAfterScriptErrorLimit) {
      traceHost("script error: the plug-in keeps prompting; stopping");
      fprintf(stderr, "Zandrovix.exe: the plug-in keeps prompting after a script error\n");
      exit(kScriptErrorExitCode);
    }
    return nullptr;
  }
  const Answer* answer = state->script->next();
  GrowingText reason;
  if (answer == nullptr) {
    reason.appendFormat("no answer left for %s", function);
    failScript(state, reason);
    return nullptr;
  }
  if (answer->kind != wanted && answer->kind != alsoWanted && answer->kind != AnswerKind::kCancel) {
    reason.appendFormat("line %d answers \"%s\" to %s, which takes \"%s\"", answer->line,
                        answerKeyword(answer->kind), function, answerKeyword(wanted));
    if (alsoWanted != wanted) reason.appendFormat(", \"%s\"", answerKeyword(alsoWanted));
    reason.append(" or \"cancel\"");
    failScript(state, reason);
    return nullptr;
  }
  return answer;
}

}  // namespace

bool scriptInteger(HostState* state, const char* function, int* value) {
  const Answer* answer = takeAnswer(state, function, AnswerKind::kNumber, AnswerKind::kNumber);
  if (answer == nullptr || answer->kind == AnswerKind::kCancel) return false;
  *value = answer->number;
  return true;
}

bool scriptYesNo(HostState* state, const char* function) {
  const Answer* answer = takeAnswer(state, function, AnswerKind::kYes, AnswerKind::kNo);
  return answer != nullptr && answer->kind == AnswerKind::kYes;
}

bool scriptText(HostState* state, const char* function, bool wantFile, GrowingText* answer) {
  AnswerKind wanted = wantFile ? AnswerKind::kFile : AnswerKind::kText;
  const Answer* taken = takeAnswer(state, function, wanted, wanted);
  if (taken == nullptr || taken->kind == AnswerKind::kCancel) return false;
  answer->clear();
  answer->append(taken->text);
  return true;
}

}  // namespace standin
