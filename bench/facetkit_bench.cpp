// Times the plug-in's operations, each against a baseline doing the bare
// work, in alternating samples, and prints per comparison the median ratio
// of operation time to baseline time with the range of the ratios; then the
// heap bytes one header report takes, where the build can count them.
//
//   Zandrovix.exe [--quick] [--repetitions N] [--timings N] [--timing-ms MS]
//                 [--filter TEXT]
//
// The program answers the plug-in as its host does (bench/fake_host.h), so
// it keeps the host's file name. Exits nonzero when an operation did not do
// what it is timed doing, or on a wrong option.

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_clock.h"
#include "bench/fake_host.h"
#include "bench/header_memory.h"
#include "bench/interleaved_runs.h"
#include "bench/paint_bench.h"
#include "bench/text_bench.h"

namespace {

const char* const kUsage =
    "usage: %s [--quick] [--repetitions N] [--timings N] [--timing-ms MS] [--filter TEXT]\n"
    "  --quick          3 repetitions of one 1 ms timing: checks, not timings\n"
    "  --repetitions N  samples of each side per comparison, 1 to %d (default %d)\n"
    "  --timings N      timings per sample, the fastest counting, 1 to %d (default %d)\n"
    "  --timing-ms MS   least time of one timing in milliseconds (default %g)\n"
    "  --filter TEXT    only the comparisons whose title contains TEXT\n";

constexpr int kDefaultRepetitions = 31;
constexpr int kDefaultTimings = 5;
constexpr double kDefaultTimingMs = 2;
constexpr int kQuickRepetitions = 3;
constexpr int kQuickTimings = 1;
constexpr double kQuickTimingMs = 1;

// Painted in full: as many vertices as a large surface has, and the sample
// surface of the stand-in host.
constexpr int32_t kLargeSurfaceVertices = 10000000;
constexpr int32_t kSampleSurfaceVertices = 40962;

// How far painting may fall behind the bare stores.
constexpr double kPaintToFillGoal = 1.1;
constexpr double kPaintToMemsetGoal = 1.3;
constexpr double kNoSlowerGoal = 1.0;
constexpr double kHexToStrtolGoal = 2.0;

struct Options {
  RunSettings settings;
  const char* filter;
};

bool readNumber(const char* text, double lowest, double highest, double* number) {
  char* end = nullptr;
  const double value = strtod(text, &end);
  if (end == text || *end != '\0' || !(value >= lowest && value <= highest)) return false;
  *number = value;
  return true;
}

bool readOptions(int argumentCount, char** arguments, Options* options) {
  options->settings = {kDefaultRepetitions, kDefaultTimingMs / 1000, kDefaultTimings};
  options->filter = "";
  for (int index = 1; index < argumentCount; ++index) {
    const char* option = arguments[index];
    const bool hasValue = index + 1 < argumentCount;
    double number = 0;
    if (strcmp(option, "--quick") == 0) {
      options->settings = {kQuickRepetitions, kQuickTimingMs / 1000, kQuickTimings};
    } else if (strcmp(option, "--repetitions") == 0 && hasValue &&
               readNumber(arguments[index + 1], 1, kMaxRepetitions, &number)) {
      options->settings.repetitions = static_cast<int>(number);
      ++index;
    } else if (strcmp(option, "--timings") == 0 && hasValue &&
               readNumber(arguments[index + 1], 1, kMaxTimingsPerSample, &number)) {
      options->settings.timingsPerSample = static_cast<int>(number);
      ++index;
    } else if (strcmp(option, "--timing-ms") == 0 && hasValue &&
               readNumber(arguments[index + 1], 0.001, 10000, &number)) {
      options->settings.sampleSeconds = number / 1000;
      ++index;
    } else if (strcmp(option, "--filter") == 0 && hasValue) {
      options->filter = arguments[++index];
    } else {
      return false;
    }
  }
  return true;
}

double readSteadyClock(void*) {
  return steadySeconds();
}

}  // namespace

int main(int argumentCount, char** arguments) {
  Options options;
  if (!readOptions(argumentCount, arguments, &options)) {
    fprintf(stderr, kUsage, arguments[0], kMaxRepetitions, kDefaultRepetitions,
            kMaxTimingsPerSample, kDefaultTimings, kDefaultTimingMs);
    return 2;
  }
  installFakeHost();
  PaintBench large;
  PaintBench sample;
  if (!preparePaintBench(large, kLargeSurfaceVertices) ||
      !preparePaintBench(sample, kSampleSurfaceVertices)) {
    fprintf(stderr, "out of memory\n");
    return 1;
  }

  const Comparison comparisons[] = {
      {"paint 10^7 vertices: changeVertexColors / fill loop", paintDirectly(large), fillLoop(large),
       kPaintToFillGoal},
      {"paint 10^7 vertices: changeVertexColors / memset", paintDirectly(large), memsetArray(large),
       kPaintToMemsetGoal},
      {"paint 10^7 vertices: execute / fill loop", paintThroughExecute(large), fillLoop(large),
       kPaintToFillGoal},
      {"paint 10^7 vertices: execute / memset", paintThroughExecute(large), memsetArray(large),
       kPaintToMemsetGoal},
      // The bare stores against memset: what any store loop reaches, since a
      // large memset may bypass the cache where a loop's stores cannot.
      {"fill 10^7 entries: fill loop / memset", fillLoop(large), memsetArray(large), 0},
      // The sample surface: a range too short to leave the caches, painted
      // no slower than by the plain loop.
      {"paint 40962 vertices: paintVertexRange / fill loop", paintRange(sample), fillLoop(sample),
       kNoSlowerGoal},
      {"paint 40962 vertices: changeVertexColors / fill loop", paintDirectly(sample),
       fillLoop(sample), 0},
      {"header report + release / one snprintf", headerReport(), headerSnprintf(), 0},
      {"hexToDecimal \"FFFFFF\" / strtol", hexToDecimalOf(kSixDigits), strtolOf(kSixDigits),
       kHexToStrtolGoal},
      {"hexToDecimal 255 characters / strtol", hexToDecimalOf(kLongAnswer), strtolOf(kLongAnswer),
       0},
      {"function menu / malloc + memcpy", menuBuilt(), menuCopied(), 0},
  };

  int titleWidth = 10;
  for (const Comparison& comparison : comparisons) {
    const int length = static_cast<int>(strlen(comparison.title));
    if (length > titleWidth) titleWidth = length;
  }
  printf(
      "Time per iteration (medians), operation / baseline from %d alternating samples, each the "
      "fastest of %d timings of at least %g ms: median and min-max\n\n",
      options.settings.repetitions, options.settings.timingsPerSample,
      options.settings.sampleSeconds * 1000);
  printRatioHeading(titleWidth);
  const Clock clock = {readSteadyClock, nullptr};
  bool allMeasured = true;
  for (const Comparison& comparison : comparisons) {
    if (strstr(comparison.title, options.filter) == nullptr) continue;
    const RatioResult result = compareInterleaved(comparison, options.settings, clock);
    printRatioRow(titleWidth, comparison, result);
    fflush(stdout);
    allMeasured = allMeasured && result.measured;
  }
  releasePaintBench(large);
  releasePaintBench(sample);
  const bool memoryMeasured = printHeaderMemory();
  return allMeasured && memoryMeasured ? 0 : 1;
}
