#include "surface/hex_colour_converter.h"

#include <gtest/gtest.h>

#include <string>

#include "surface/surface_record.h"

TEST(HexToDecimal, WorkedExamples) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {
      {"", 0},
      {"FF", 255},
      {"1A3", 419},
      {"1a3", 259},
      {"ff", 0},
      {"FF ", 4080},
      {"0xFF", 255},
      {"#FFFFFF", 16777215},
      {"FFFFFF", 16777215},
      {"7FFFFFFF", 2147483647},
      {"80000000", -2147483647 - 1},
      {"FFFFFFFF", -2147483647 - 1},
      {"00FF00", 65280},
      {"G1", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hexToDecimal(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(HexToDecimal, StaysSaturatedOnceAboveTheLargestValue) {
  // A digit beyond the eighth position overflows; later digits cannot undo it.
  EXPECT_EQ(hexToDecimal("100000000"), -2147483647 - 1);
  EXPECT_EQ(hexToDecimal("1000000000000000F"), -2147483647 - 1);
  EXPECT_EQ(hexToDecimal("000000007FFFFFFF"), 2147483647);
}

TEST(HexToDecimal, VeryLongTextsNeitherOverflowNorCrash) {
  // Positions past 255 make 16^i infinite; zeros there must not turn into NaN.
  std::string zeros(400, '0');
  EXPECT_EQ(hexToDecimal((zeros + "FF").c_str()), 255);
  EXPECT_EQ(hexToDecimal((std::string("1") + zeros).c_str()), -2147483647 - 1);
  EXPECT_EQ(hexToDecimal(std::string(300, 'x').c_str()), 0);
}

TEST(VertexColorValue, AddsTheBaseWithWrapAround) {
  struct Case {
    int32_t colour;
    int32_t stored;
  };
  const Case cases[] = {
      {0xFFFFFF, 1073741823},        {0x000000, 1056964608},  {0xFF0000, 1073676288},
      {0x0000FF, 1056964863},        {0x1000000, 0x40000000}, {-2147483647 - 1, -1090519040},
      {2147483647, -1090519041},     {-1, 1056964607},        {0x40FFFFFF, 2147483647},
      {0x41000000, -2147483647 - 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vertexColorValue(c.colour), c.stored) << c.colour;
  }
}
