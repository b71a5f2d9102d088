#pragma once

// Prints every benchmark run as the console reporter does and keeps each
// benchmark's time per iteration, for the table of ratios printed at the end.

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

// An operation and the baseline that its time is divided by.
struct Comparison {
  std::string title;
  std::string operation;
  std::string baseline;
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Plain text, without colour codes, so that the output reads the same in a
  // log file.
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override;

  // CPU time per iteration of the benchmark `name` in seconds (the median
  // when repeated), or a negative number when it did not run or failed.
  double secondsPerIteration(const std::string& name) const;

  // Whether any benchmark reported an error.
  bool anyFailed() const { return !failed_.empty(); }

  // Writes one line per comparison: both times and operation / baseline.
  void printRatios(const std::vector<Comparison>& comparisons) const;

 private:
  struct Timing {
    double seconds;
    bool median;
  };
  void printTime(const std::string& name) const;

  std::map<std::string, Timing> timings_;
  std::set<std::string> failed_;
};
