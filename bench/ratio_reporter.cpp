#include "bench/ratio_reporter.h"

#include <stdio.h>

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const std::string name = run.run_name.str();
    if (failed_.count(name) != 0) continue;
    if (run.error_occurred) {
      failed_.insert(name);
      timings_.erase(name);
      continue;
    }
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if (run.run_type == Run::RT_Aggregate && !median) continue;
    auto known = timings_.find(name);
    if (known != timings_.end() && known->second.median) continue;
    const double seconds =
        run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    timings_[name] = {seconds, median};
  }
}

double RatioReporter::secondsPerIteration(const std::string& name) const {
  auto known = timings_.find(name);
  return known != timings_.end() ? known->second.seconds : -1;
}

void RatioReporter::printTime(const std::string& name) const {
  const double seconds = secondsPerIteration(name);
  if (seconds < 0) {
    printf(" %12s", failed_.count(name) != 0 ? "failed" : "not run");
  } else if (seconds < 1e-6) {
    printf(" %9.1f ns", seconds * 1e9);
  } else {
    printf(" %9.2f us", seconds * 1e6);
  }
}

void RatioReporter::printRatios(const std::vector<Comparison>& comparisons) const {
  size_t width = 10;
  for (const Comparison& comparison : comparisons) {
    if (comparison.title.size() > width) width = comparison.title.size();
  }
  const int titleWidth = static_cast<int>(width);
  printf("\nCPU time per iteration, operation / baseline, both measured in this run:\n\n");
  printf("%-*s %12s %12s %9s\n", titleWidth, "comparison", "operation", "baseline", "ratio");
  for (const Comparison& comparison : comparisons) {
    const double operation = secondsPerIteration(comparison.operation);
    const double baseline = secondsPerIteration(comparison.baseline);
    printf("%-*s", titleWidth, comparison.title.c_str());
    printTime(comparison.operation);
    printTime(comparison.baseline);
    if (operation >= 0 && baseline > 0) {
      printf(" %9.2f\n", operation / baseline);
    } else {
      printf(" %9s\n", "-");
    }
  }
}
