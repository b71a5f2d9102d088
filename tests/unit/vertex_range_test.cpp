#include "surface/vertex_range.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

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

}  // namespace
