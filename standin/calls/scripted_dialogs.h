#pragma once

// Answers from the script for the host's prompts. Each function takes the
// next answer, checks that it fits the prompt `function` (the host
// function's name, for messages), and on a wrong or missing answer records a
// script error (trace line, message on standard error) and returns a
// cancel. After a script error every prompt is a cancel.

#include "standin/calls/host_state.h"

namespace standin {

// Returns false when cancelled; otherwise the number in `value`.
bool scriptInteger(HostState* state, const char* function, int* value);
// Returns true for yes.
bool scriptYesNo(HostState* state, const char* function);
// Returns false when cancelled; otherwise the text (or file name) in
// `answer`. `wantFile` selects "file" answers instead of "text" answers.
bool scriptText(HostState* state, const char* function, bool wantFile, GrowingText* answer);

}  // namespace standin
