#include "bench/interleaved_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A clock that moves only when a contender's work moves it, so that every
// time, ratio and order below is exact.
struct FakeTimeline {
  double now = 0;
  std::vector<std::string> samples;
};

double readFakeClock(void* context) {
  return static_cast<FakeTimeline*>(context)->now;
}

// A contender costing `costs[k]` seconds per iteration in its k-th sample
// (the last cost once they run out), failing its check from sample
// `failFrom` on (never when negative).
struct FakeWork {
  const char* name;
  FakeTimeline* timeline;
  std::vector<double> costs;
  int failFrom = -1;
  int samples = 0;
  std::vector<int64_t> iterations;
};

void runFakeWork(void* context, int64_t iterations) {
  FakeWork& work = *static_cast<FakeWork*>(context);
  const size_t index = std::min(static_cast<size_t>(work.samples), work.costs.size() - 1);
  work.timeline->now += work.costs[index] * static_cast<double>(iterations);
  work.timeline->samples.push_back(work.name);
  work.iterations.push_back(iterations);
  ++work.samples;
}

bool checkFakeWork(void* context) {
  const FakeWork& work = *static_cast<const FakeWork*>(context);
  return work.failFrom < 0 || work.samples <= work.failFrom;
}

Contender contenderOf(FakeWork& work) {
  return {work.name, runFakeWork, checkFakeWork, &work};
}

struct Fixture {
  FakeTimeline timeline;
  FakeWork operation{"operation", &timeline, {3}, -1, 0, {}};
  FakeWork baseline{"baseline", &timeline, {2}, -1, 0, {}};

  RatioResult run(int repetitions, double sampleSeconds, int timings = 1) {
    const Comparison comparison = {"title", contenderOf(operation), contenderOf(baseline), 0};
    const Clock clock = {readFakeClock, &timeline};
    return compareInterleaved(comparison, RunSettings{repetitions, sampleSeconds, timings}, clock);
  }
};

TEST(InterleavedRuns, RatioIsOperationTimeOverBaselineTimePerIteration) {
  Fixture fixture;
  const RatioResult result = fixture.run(5, 0.5);
  ASSERT_TRUE(result.measured);
  EXPECT_DOUBLE_EQ(result.operationSeconds, 3);
  EXPECT_DOUBLE_EQ(result.baselineSeconds, 2);
  EXPECT_DOUBLE_EQ(result.medianRatio, 1.5);
  EXPECT_DOUBLE_EQ(result.lowestRatio, 1.5);
  EXPECT_DOUBLE_EQ(result.highestRatio, 1.5);
}

// After one calibration sample each (a single iteration already takes the
// sample time), the repetitions alternate which side goes first.
TEST(InterleavedRuns, SidesAlternateWhichGoesFirst) {
  Fixture fixture;
  ASSERT_TRUE(fixture.run(4, 0.5).measured);
  const std::vector<std::string> expected = {
      "operation", "baseline",                           // calibration
      "operation", "baseline", "baseline", "operation",  // repetitions 0 and 1
      "operation", "baseline", "baseline", "operation",  // repetitions 2 and 3
  };
  EXPECT_EQ(fixture.timeline.samples, expected);
}

// Per-iteration costs that change from sample to sample give one ratio per
// repetition; the table shows their median and range, and the median times.
TEST(InterleavedRuns, ReportsMedianAndRangeOfTheRatios) {
  Fixture fixture;
  // Calibration, then five repetitions.
  fixture.operation.costs = {1, 4, 1, 10, 3, 2};
  fixture.baseline.costs = {1, 2, 1, 2, 1, 2};
  const RatioResult result = fixture.run(5, 0.5);
  ASSERT_TRUE(result.measured);
  // Ratios 4/2, 1/1, 10/2, 3/1, 2/2.
  EXPECT_DOUBLE_EQ(result.medianRatio, 2);
  EXPECT_DOUBLE_EQ(result.lowestRatio, 1);
  EXPECT_DOUBLE_EQ(result.highestRatio, 5);
  EXPECT_DOUBLE_EQ(result.operationSeconds, 3);
  EXPECT_DOUBLE_EQ(result.baselineSeconds, 2);
}

// Quick work is repeated within a sample until the sample lasts the time
// asked for, each side on its own; the ratio is still per iteration.
TEST(InterleavedRuns, SamplesLastAtLeastTheSampleTime) {
  Fixture fixture;
  fixture.operation.costs = {0.001};
  fixture.baseline.costs = {0.004};
  const RatioResult result = fixture.run(3, 1.0);
  ASSERT_TRUE(result.measured);
  EXPECT_GE(static_cast<double>(result.operationIterations) * 0.001, 1.0);
  EXPECT_GE(static_cast<double>(result.baselineIterations) * 0.004, 1.0);
  // Not far past it either: at most two and a half times the goal.
  EXPECT_LE(static_cast<double>(result.operationIterations) * 0.001, 2.5);
  EXPECT_LE(static_cast<double>(result.baselineIterations) * 0.004, 2.5);
  // The timed samples (the last three of each side) use the chosen counts.
  const std::vector<int64_t>& operationCounts = fixture.operation.iterations;
  ASSERT_GE(operationCounts.size(), 3u);
  EXPECT_EQ(operationCounts.back(), result.operationIterations);
  EXPECT_EQ(operationCounts[operationCounts.size() - 3], result.operationIterations);
  EXPECT_DOUBLE_EQ(result.medianRatio, 0.25);
}

// A sample is the fastest of its timings, so that a timing slowed down by
// another program does not count; its check runs once, after the last.
TEST(InterleavedRuns, SampleIsTheFastestOfItsTimings) {
  Fixture fixture;
  // Calibration, then the three timings of each of two repetitions.
  fixture.operation.costs = {1, 9, 3, 5, 4, 8, 6};
  fixture.baseline.costs = {1, 2, 2, 2, 1, 7, 1};
  const RatioResult result = fixture.run(2, 0.5, 3);
  ASSERT_TRUE(result.measured);
  // Repetition 0: operation 3, baseline 2; repetition 1: operation 4, baseline 1.
  EXPECT_DOUBLE_EQ(result.lowestRatio, 1.5);
  EXPECT_DOUBLE_EQ(result.highestRatio, 4);
  EXPECT_DOUBLE_EQ(result.operationSeconds, 3.5);
  EXPECT_DOUBLE_EQ(result.baselineSeconds, 1.5);
  const std::vector<std::string> expected = {
      "operation", "baseline",                // calibration
      "operation", "operation", "operation",  // repetition 0
      "baseline",  "baseline",  "baseline",   //
      "baseline",  "baseline",  "baseline",   // repetition 1
      "operation", "operation", "operation",  //
  };
  EXPECT_EQ(fixture.timeline.samples, expected);
}

TEST(InterleavedRuns, RepetitionsAreKeptWithinTheirBounds) {
  struct Case {
    int asked;
    size_t samplesOfEachSide;
  };
  const Case cases[] = {{0, 1}, {1, 1}, {7, 7}, {kMaxRepetitions + 50, kMaxRepetitions}};
  for (const Case& bounded : cases) {
    SCOPED_TRACE(bounded.asked);
    Fixture fixture;
    ASSERT_TRUE(fixture.run(bounded.asked, 0.5).measured);
    // One calibration sample besides the repetitions.
    EXPECT_EQ(fixture.operation.iterations.size(), bounded.samplesOfEachSide + 1);
    EXPECT_EQ(fixture.baseline.iterations.size(), bounded.samplesOfEachSide + 1);
  }
}

TEST(InterleavedRuns, TimingsPerSampleAreKeptWithinTheirBounds) {
  struct Case {
    int asked;
    size_t timings;
  };
  const Case cases[] = {{0, 1}, {1, 1}, {4, 4}, {kMaxTimingsPerSample + 1, kMaxTimingsPerSample}};
  for (const Case& bounded : cases) {
    SCOPED_TRACE(bounded.asked);
    Fixture fixture;
    ASSERT_TRUE(fixture.run(1, 0.5, bounded.asked).measured);
    // One calibration timing besides the one sample's.
    EXPECT_EQ(fixture.operation.iterations.size(), bounded.timings + 1);
  }
}

// A failed check ends the comparison at once and names the side that failed.
TEST(InterleavedRuns, FailedCheckNamesTheContender) {
  struct Case {
    const char* what;
    int operationFailsFrom;
    int baselineFailsFrom;
    const char* failure;
    size_t samplesTaken;
  };
  const Case cases[] = {
      {"operation in calibration", 0, -1, "operation", 1},
      {"baseline in calibration", -1, 0, "baseline", 2},
      {"operation in the third repetition", 3, -1, "operation", 7},
      {"baseline in the second repetition", -1, 2, "baseline", 5},
  };
  for (const Case& failing : cases) {
    SCOPED_TRACE(failing.what);
    Fixture fixture;
    fixture.operation.failFrom = failing.operationFailsFrom;
    fixture.baseline.failFrom = failing.baselineFailsFrom;
    const RatioResult result = fixture.run(5, 0.5);
    EXPECT_FALSE(result.measured);
    EXPECT_STREQ(result.failure, failing.failure);
    EXPECT_EQ(fixture.timeline.samples.size(), failing.samplesTaken);
  }
}

TEST(InterleavedRuns, BaselineWithoutMeasurableTimeFails) {
  Fixture fixture;
  fixture.baseline.costs = {0};
  const RatioResult result = fixture.run(3, 0.5);
  EXPECT_FALSE(result.measured);
}

TEST(InterleavedRuns, MedianOfValues) {
  struct Case {
    std::vector<double> values;
    double median;
  };
  const Case cases[] = {
      {{}, 0}, {{5}, 5}, {{3, 1, 2}, 2}, {{4, 1, 3, 2}, 2.5}, {{9, 9, 1, 1, 5}, 5},
  };
  for (const Case& values : cases) {
    std::vector<double> copy = values.values;
    EXPECT_DOUBLE_EQ(medianOf(copy.data(), static_cast<int>(copy.size())), values.median);
  }
}

}  // namespace
