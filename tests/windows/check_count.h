#pragma once

// The Windows check programs' tally: one line per failed check, a closing
// count, and an exit code that says whether any check failed.

#include <stdio.h>

class CheckCount {
 public:
  void check(bool condition, const char* what) {
    if (condition) {
      ++passed_;
    } else {
      ++failed_;
      printf("FAILED: %s\n", what);
    }
  }

  // Prints "N passed, N failed" and returns the exit code.
  int finish() const {
    printf("%d passed, %d failed\n", passed_, failed_);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};
