#include "bench/interleaved_runs.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

// Iterations are never raised past this, whatever the clock says.
constexpr int64_t kMostIterations = int64_t{1} << 40;

struct Sample {
  bool checked;
  double seconds;
};

// Times `iterations` iterations `timings` times back to back and keeps the
// fastest, then checks the work once.
Sample timeSample(const Contender& contender, int64_t iterations, int timings, const Clock& clock) {
  double fastest = 0;
  for (int timing = 0; timing < timings; ++timing) {
    const double start = clock.seconds(clock.context);
    contender.work(contender.context, iterations);
    const double seconds = clock.seconds(clock.context) - start;
    if (timing == 0 || seconds < fastest) fastest = seconds;
  }
  const bool checked = contender.check == nullptr || contender.check(contender.context);
  return {checked, fastest};
}

// Raises the iterations until one sample takes at least `sampleSeconds`.
// Returns 0 when a check fails.
int64_t calibrate(const Contender& contender, double sampleSeconds, const Clock& clock) {
  int64_t iterations = 1;
  for (;;) {
    const Sample sample = timeSample(contender, iterations, 1, clock);
    if (!sample.checked) return 0;
    if (sample.seconds >= sampleSeconds || iterations >= kMostIterations) return iterations;
    // Aims a quarter past the goal from the time seen, growing at most a
    // hundredfold a step so that one slow sample cannot send it far off.
    double next = static_cast<double>(iterations) * 100;
    if (sample.seconds > 0) {
      const double aimed = static_cast<double>(iterations) * 1.25 * sampleSeconds / sample.seconds;
      if (aimed < next) next = aimed;
    }
    if (next < static_cast<double>(iterations) * 2) next = static_cast<double>(iterations) * 2;
    if (next > static_cast<double>(kMostIterations)) next = static_cast<double>(kMostIterations);
    iterations = static_cast<int64_t>(next);
  }
}

int compareNumbers(const void* first, const void* second) {
  const double a = *static_cast<const double*>(first);
  const double b = *static_cast<const double*>(second);
  return a < b ? -1 : (a > b ? 1 : 0);
}

RatioResult failed(const char* failure) {
  RatioResult result = {};
  result.measured = false;
  result.failure = failure;
  return result;
}

void printDuration(double seconds) {
  if (seconds < 1e-6) {
    printf(" %9.1f ns", seconds * 1e9);
  } else if (seconds < 1e-3) {
    printf(" %9.2f us", seconds * 1e6);
  } else {
    printf(" %9.2f ms", seconds * 1e3);
  }
}

}  // namespace

double medianOf(double* values, int count) {
  if (count <= 0) return 0;
  qsort(values, static_cast<size_t>(count), sizeof(values[0]), compareNumbers);
  const int middle = count / 2;
  return count % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

RatioResult compareInterleaved(const Comparison& comparison, const RunSettings& settings,
                               const Clock& clock) {
  int repetitions = settings.repetitions;
  if (repetitions < 1) repetitions = 1;
  if (repetitions > kMaxRepetitions) repetitions = kMaxRepetitions;
  int timings = settings.timingsPerSample;
  if (timings < 1) timings = 1;
  if (timings > kMaxTimingsPerSample) timings = kMaxTimingsPerSample;
  const Contender& operation = comparison.operation;
  const Contender& baseline = comparison.baseline;

  const int64_t operationIterations = calibrate(operation, settings.sampleSeconds, clock);
  if (operationIterations == 0) return failed(operation.name);
  const int64_t baselineIterations = calibrate(baseline, settings.sampleSeconds, clock);
  if (baselineIterations == 0) return failed(baseline.name);

  double operationTimes[kMaxRepetitions];
  double baselineTimes[kMaxRepetitions];
  double ratios[kMaxRepetitions];
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    const bool operationFirst = repetition % 2 == 0;
    const Contender& first = operationFirst ? operation : baseline;
    const Contender& second = operationFirst ? baseline : operation;
    const Sample firstSample = timeSample(
        first, operationFirst ? operationIterations : baselineIterations, timings, clock);
    if (!firstSample.checked) return failed(first.name);
    const Sample secondSample = timeSample(
        second, operationFirst ? baselineIterations : operationIterations, timings, clock);
    if (!secondSample.checked) return failed(second.name);
    const Sample& operationSample = operationFirst ? firstSample : secondSample;
    const Sample& baselineSample = operationFirst ? secondSample : firstSample;
    if (baselineSample.seconds <= 0) return failed("the clock (no time passed)");
    operationTimes[repetition] = operationSample.seconds / static_cast<double>(operationIterations);
    baselineTimes[repetition] = baselineSample.seconds / static_cast<double>(baselineIterations);
    ratios[repetition] = operationTimes[repetition] / baselineTimes[repetition];
  }

  RatioResult result = {};
  result.measured = true;
  result.failure = nullptr;
  result.operationIterations = operationIterations;
  result.baselineIterations = baselineIterations;
  result.operationSeconds = medianOf(operationTimes, repetitions);
  result.baselineSeconds = medianOf(baselineTimes, repetitions);
  result.medianRatio = medianOf(ratios, repetitions);
  result.lowestRatio = ratios[0];
  result.highestRatio = ratios[repetitions - 1];
  return result;
}

void printRatioHeading(int titleWidth) {
  printf("%-*s %12s %12s %7s %15s  %s\n", titleWidth, "comparison", "operation", "baseline",
         "ratio", "min-max", "goal");
}

void printRatioRow(int titleWidth, const Comparison& comparison, const RatioResult& result) {
  printf("%-*s", titleWidth, comparison.title);
  if (!result.measured) {
    printf(" failed: %s\n", result.failure);
    return;
  }
  printDuration(result.operationSeconds);
  printDuration(result.baselineSeconds);
  // Three significant digits, so that small ratios keep theirs.
  printf(" %#7.3g %#7.3g-%-#7.3g", result.medianRatio, result.lowestRatio, result.highestRatio);
  if (comparison.goal > 0) {
    printf("  <= %.2f %s", comparison.goal,
           result.medianRatio <= comparison.goal ? "met" : "missed");
  }
  printf("\n");
}
