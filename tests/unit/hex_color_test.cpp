#include "surface/hex_color_converter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "surface/vertex_color_value.h"

namespace {

// Exact reference: the digits' value as a big number, built term by term
// from the last character, each digit v at position i adding v * 16^i.
// Limbs hold 32 bits each, least significant first.
int32_t referenceHexToDecimal(const std::string& text) {
  std::vector<uint32_t> limbs((text.size() * 4) / 32 + 2, 0);
  for (size_t position = 0; position < text.size(); ++position) {
    const char character = text[text.size() - 1 - position];
    uint64_t digit = 0;
    if (character >= '0' && character <= '9') digit = static_cast<uint64_t>(character - '0');
    if (character >= 'A' && character <= 'F') digit = static_cast<uint64_t>(character - 'A' + 10);
    const size_t bit = position * 4;
    uint64_t carry = digit << (bit % 32);
    for (size_t limb = bit / 32; carry != 0; ++limb) {
      carry += limbs[limb];
      limbs[limb] = static_cast<uint32_t>(carry);
      carry >>= 32;
    }
  }
  for (size_t limb = 1; limb < limbs.size(); ++limb) {
    if (limbs[limb] != 0) return INT32_MIN;
  }
  return limbs[0] > 0x7FFFFFFFu ? INT32_MIN : static_cast<int32_t>(limbs[0]);
}

}  // namespace

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

TEST(HexToDecimal, AgreesWithAnExactReferenceOnRandomTexts) {
  // Mostly digits, with small letters, blanks and other bytes among them;
  // zeros are frequent so that long texts still often hold a value that fits.
  const std::string alphabet = "0000000000123456789ABCDEFabcdefx# G\x7f\x80\xff";
  std::mt19937 random(20261208);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> shortLength(0, 12);
  std::uniform_int_distribution<int> longLength(200, 700);
  std::uniform_int_distribution<int> tail(0, 8);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    if (round % 4 == 3) {
      // A long run of zeros or other non-counting bytes before a short tail.
      text.assign(static_cast<size_t>(longLength(random)), round % 8 == 3 ? '0' : 'z');
      for (int index = tail(random); index > 0; --index) text += alphabet[pick(random)];
    } else {
      const int length = round % 4 == 2 ? longLength(random) : shortLength(random);
      for (int index = 0; index < length; ++index) text += alphabet[pick(random)];
    }
    ASSERT_EQ(hexToDecimal(text.c_str()), referenceHexToDecimal(text)) << '"' << text << '"';
  }
}

TEST(HexToDecimal, AgreesWithTheReferenceAroundTheLargestValue) {
  // Every value near 0x7FFFFFFF, with zeros before it up to far beyond 256
  // characters, and with one more digit that lifts it over.
  const char digits[] = "0123456789ABCDEF";
  for (uint64_t value = 0x7FFFFF00u; value <= 0x800000FFu; ++value) {
    std::string text;
    for (int shift = 28; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    for (const std::string& prefix : {std::string(), std::string(300, '0'), std::string("1")}) {
      const std::string whole = prefix + text;
      ASSERT_EQ(hexToDecimal(whole.c_str()), referenceHexToDecimal(whole)) << whole;
    }
  }
  EXPECT_EQ(referenceHexToDecimal("7FFFFFFF"), 2147483647);
  EXPECT_EQ(referenceHexToDecimal("80000000"), INT32_MIN);
}

// Each byte alone: the sixteen digits give their value, every other byte 0.
TEST(HexToDecimal, EveryByteAloneGivesItsDigitValue) {
  for (int byte = 1; byte <= 255; ++byte) {
    const char text[2] = {static_cast<char>(byte), '\0'};
    int32_t expected = 0;
    if (byte >= '0' && byte <= '9') expected = byte - '0';
    if (byte >= 'A' && byte <= 'F') expected = byte - 'A' + 10;
    EXPECT_EQ(hexToDecimal(text), expected) << "byte " << byte;
  }
}
