#include "surface/vertex_range.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "host/host_function_table.h"
#include "platform/word_fill.h"

namespace {

constexpr int32_t kUntouched = 0x12345678;

struct PaintCase {
  const char* what;
  int32_t first;
  int32_t last;
  int32_t value;
};

// Entries first to last hold the value afterwards, every other entry what it
// held before; the array's neighbours on both sides stay as they were.
TEST(PaintVertexRange, StoresTheValueIntoExactlyTheRange) {
  const PaintCase cases[] = {
      {"inner range", 2, 5, 0x3FFF0000},     {"one vertex", 3, 3, 0x3FFFFFFF},
      {"every vertex", 0, 9, 0x3F000000},    {"first above last", 6, 2, 0x3FFF0000},
      {"negative value", 0, 4, -1090519040}, {"last vertex only", 9, 9, 1},
  };
  for (const PaintCase& paint : cases) {
    SCOPED_TRACE(paint.what);
    // Ten vertices between a guard entry on each side.
    std::array<int32_t, 12> stored;
    stored.fill(kUntouched);
    paintVertexRange(stored.data() + 1, VertexRange{paint.first, paint.last}, paint.value);
    EXPECT_EQ(stored.front(), kUntouched);
    EXPECT_EQ(stored.back(), kUntouched);
    for (int32_t vertex = 0; vertex < 10; ++vertex) {
      const bool inRange = vertex >= paint.first && vertex <= paint.last;
      EXPECT_EQ(stored[static_cast<size_t>(vertex) + 1], inRange ? paint.value : kUntouched)
          << "vertex " << vertex;
    }
  }
}

// Long ranges, whose stores the compiler may widen, with ends that fall on
// every position against the width of a wide store.
TEST(PaintVertexRange, LongRangesStopAtBothEnds) {
  for (int32_t first = 0; first < 9; ++first) {
    for (int32_t last = 990; last < 999; ++last) {
      std::vector<int32_t> stored(1000, kUntouched);
      paintVertexRange(stored.data(), VertexRange{first, last}, 7);
      int32_t painted = 0;
      for (int32_t value : stored) painted += value == 7 ? 1 : 0;
      ASSERT_EQ(painted, last - first + 1) << first << "-" << last;
      ASSERT_EQ(stored[static_cast<size_t>(first)], 7);
      ASSERT_EQ(stored[static_cast<size_t>(last)], 7);
      if (first > 0) {
        ASSERT_EQ(stored[static_cast<size_t>(first) - 1], kUntouched);
      }
      ASSERT_EQ(stored[static_cast<size_t>(last) + 1], kUntouched);
    }
  }
}

// Ranges about as long as the fill's two thresholds (platform/word_fill.h),
// starting at positions in a cache line (at every one for the shorter) and
// ending at others: each entry of the range holds the value, and the canary
// words on both sides stay.
TEST(PaintVertexRange, RangesAroundTheFillThresholdsStopAtBothEnds) {
  constexpr size_t kWordsPerLine = 16;
  constexpr size_t kCanaryWords = 2 * kWordsPerLine;
  struct Lengths {
    size_t length;
    std::vector<size_t> firsts;
  };
  const Lengths lengths[] = {
      {kWordFillPaysFrom, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {kWordFillStreamsFrom, {0, 1, 4, 15}},
  };
  // Room for a line's worth of start, a line's worth of first and of extra
  // count, and the canaries.
  std::vector<int32_t> stored(kWordFillStreamsFrom + 3 * kWordsPerLine + 2 * kCanaryWords,
                              kUntouched);
  // The array starts at a cache line, so that `first` sets the alignment.
  const size_t toLine =
      (kWordsPerLine - reinterpret_cast<uintptr_t>(stored.data()) / 4 % kWordsPerLine) %
      kWordsPerLine;
  int32_t* const colours = stored.data() + toLine + kCanaryWords;
  const auto untouched = [](int32_t word) { return word == kUntouched; };
  int32_t value = 0x3F000000;
  for (const Lengths& around : lengths) {
    for (const size_t first : around.firsts) {
      for (const size_t count : {around.length - 1, around.length, around.length + 1 + first}) {
        SCOPED_TRACE(std::to_string(first) + " + " + std::to_string(count));
        ++value;
        const size_t end = first + count;
        paintVertexRange(colours,
                         VertexRange{static_cast<int32_t>(first), static_cast<int32_t>(end - 1)},
                         value);
        ASSERT_EQ(static_cast<size_t>(std::count(colours + first, colours + end, value)), count);
        ASSERT_TRUE(std::all_of(colours + first - kCanaryWords, colours + first, untouched));
        ASSERT_TRUE(std::all_of(colours + end, colours + end + kCanaryWords, untouched));
        std::fill(colours + first, colours + end, kUntouched);
      }
    }
  }
}

// The host's number prompt, answering from a script and noting every call.
struct NumberPrompt {
  std::string prompt;
  int preset;
  int lowest;
  int highest;
};
std::vector<NumberPrompt> prompts;
std::vector<int> numberAnswers;

int answerNumber(char* prompt, int preset, int lowest, int highest) {
  prompts.push_back({prompt, preset, lowest, highest});
  const int answer = numberAnswers.empty() ? 0 : numberAnswers.front();
  if (!numberAnswers.empty()) numberAnswers.erase(numberAnswers.begin());
  return answer;
}

std::vector<std::string> logged;

bool recordLog(const char* text) {
  logged.emplace_back(text);
  return true;
}

class VertexRangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = hostFunctions;
    hostFunctions.zvGetIntegerInput = answerNumber;
    hostFunctions.zvLogText = recordLog;
    prompts.clear();
    logged.clear();
  }
  void TearDown() override { hostFunctions = saved_; }

  HostFunctionTable saved_;
};

SurfaceRecord surfaceWith(int32_t vertexCount, int32_t* colours) {
  SurfaceRecord surface;
  std::memset(&surface, 0, sizeof(surface));
  surface.vertexCount = vertexCount;
  surface.vertexColors = colours;
  return surface;
}

// Both prompts offer 0 to the last vertex; what the host returns outside
// that is cut to the vertices that exist, and nothing else is changed.
TEST_F(VertexRangeTest, KeepsThePartOfTheEnteredRangeThatLiesOnTheSurface) {
  struct Case {
    int first;
    int last;
    int32_t keptFirst;
    int32_t keptLast;
  };
  const Case cases[] = {
      {2, 5, 2, 5},
      {0, 9, 0, 9},
      {-1, 4, 0, 4},
      {3, 10, 3, 9},
      {-2147483647 - 1, 2147483647, 0, 9},
      {7, 2, 7, 2},
      {12, 15, 12, 9},
      {-5, -1, 0, -1},
  };
  int32_t colours[10] = {};
  const SurfaceRecord surface = surfaceWith(10, colours);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " to " + std::to_string(c.last));
    prompts.clear();
    numberAnswers = {c.first, c.last};
    const VertexRange range = askVertexRange(surface);
    EXPECT_EQ(range.first, c.keptFirst);
    EXPECT_EQ(range.last, c.keptLast);
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].prompt, "Please enter the first vertex number of the range");
    EXPECT_EQ(prompts[1].prompt, "Please enter the last vertex number of the range (inclusive)");
    for (const NumberPrompt& prompt : prompts) {
      EXPECT_EQ(prompt.preset, 0);
      EXPECT_EQ(prompt.lowest, 0);
      EXPECT_EQ(prompt.highest, 9);
    }
  }
  EXPECT_TRUE(logged.empty());
}

// Whatever the host returns, painting the kept range stays inside the array.
TEST_F(VertexRangeTest, TheKeptRangePaintsOnlyVerticesThatExist) {
  std::array<int32_t, 7> stored;
  stored.fill(kUntouched);
  const SurfaceRecord surface = surfaceWith(5, stored.data() + 1);
  numberAnswers = {-3, 40};
  paintVertexRange(surface.vertexColors, askVertexRange(surface), 0x3F00FF00);
  EXPECT_EQ(stored.front(), kUntouched);
  EXPECT_EQ(stored.back(), kUntouched);
  for (size_t vertex = 1; vertex <= 5; ++vertex) EXPECT_EQ(stored[vertex], 0x3F00FF00);
}

TEST_F(VertexRangeTest, OnlyAPositiveCountWithAColourArrayHasVertices) {
  int32_t colours[1] = {};
  struct Case {
    int32_t vertexCount;
    int32_t* colours;
    bool hasVertices;
  };
  const Case cases[] = {
      {1, colours, true},
      {40962, colours, true},
      {0, colours, false},
      {-1, colours, false},
      {-2147483647 - 1, colours, false},
      {5, nullptr, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(surfaceHasVertices(surfaceWith(c.vertexCount, c.colours)), c.hasVertices)
        << c.vertexCount << (c.colours == nullptr ? " without colours" : "");
  }
}

TEST_F(VertexRangeTest, NoVerticesIsLoggedWhenTheLogIsThere) {
  reportNoVertices();
  EXPECT_EQ(logged, std::vector<std::string>{"Facetkit> The current surface has no vertices."});
  hostFunctions.zvLogText = nullptr;
  reportNoVertices();
  EXPECT_EQ(logged.size(), 1u);
}

}  // namespace
