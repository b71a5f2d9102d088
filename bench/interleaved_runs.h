#pragma once

// Times an operation against a baseline in samples that alternate between
// the two (operation first in even repetitions, baseline first in odd ones),
// so that a machine that slows down or speeds up during a run weighs on both
// alike. Each repetition gives one ratio, operation time / baseline time per
// iteration; a comparison reports their median and their range. C runtime
// only, so that the same code runs in the native and the Windows build.

#include <stdint.h>

// Runs the timed work `iterations` times.
using TimedWork = void (*)(void* context, int64_t iterations);

// Checks, untimed, after every sample that the work did what it is timed
// doing. Returns false when it did not.
using WorkCheck = bool (*)(void* context);

struct Contender {
  const char* name;
  TimedWork work;
  // Null when there is nothing to check.
  WorkCheck check;
  void* context;
};

struct Comparison {
  const char* title;
  Contender operation;
  Contender baseline;
  // The ratio the operation should stay within; 0 when there is none.
  double goal;
};

// Seconds since an arbitrary start, from `context`.
struct Clock {
  double (*seconds)(void* context);
  void* context;
};

constexpr int kMaxRepetitions = 101;
constexpr int kMaxTimingsPerSample = 20;

struct RunSettings {
  // Samples of each contender, 1 to kMaxRepetitions.
  int repetitions;
  // The least time one timing takes; the iterations per timing are chosen
  // for it before the repetitions start.
  double sampleSeconds;
  // Timings per sample, 1 to kMaxTimingsPerSample, run back to back; the
  // sample's time is the fastest of them, so that a timing in which the
  // thread lost the processor to another does not count.
  int timingsPerSample;
};

struct RatioResult {
  // False when a check failed or the clock saw no time pass; then only
  // `failure` is set.
  bool measured;
  const char* failure;
  int64_t operationIterations;
  int64_t baselineIterations;
  // Medians of the seconds per iteration.
  double operationSeconds;
  double baselineSeconds;
  // Of the per-repetition ratios.
  double medianRatio;
  double lowestRatio;
  double highestRatio;
};

// Times `comparison` with `settings` on `clock`.
RatioResult compareInterleaved(const Comparison& comparison, const RunSettings& settings,
                               const Clock& clock);

// The median of `count` values (the mean of the middle two for an even
// count); sorts `values`. 0 for no values.
double medianOf(double* values, int count);

// Prints the table's heading, then one row per comparison; `titleWidth` is
// the width of the first column.
void printRatioHeading(int titleWidth);
void printRatioRow(int titleWidth, const Comparison& comparison, const RatioResult& result);
