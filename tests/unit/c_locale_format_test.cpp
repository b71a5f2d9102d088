#include "platform/c_locale_format.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <locale.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/bounded_text.h"
#include "surface/surface_header_report.h"

// The C library's newlocale and uselocale, made to fail on request.
namespace {
bool failNewLocale = false;
bool failUseLocale = false;
}  // namespace

extern "C" locale_t newlocale(int mask, const char* name, locale_t base) {
  static const auto real =
      reinterpret_cast<locale_t (*)(int, const char*, locale_t)>(dlsym(RTLD_NEXT, "newlocale"));
  return failNewLocale ? static_cast<locale_t>(0) : real(mask, name, base);
}

extern "C" locale_t uselocale(locale_t locale) {
  static const auto real = reinterpret_cast<locale_t (*)(locale_t)>(dlsym(RTLD_NEXT, "uselocale"));
  return failUseLocale ? static_cast<locale_t>(0) : real(locale);
}

namespace {

// Sets the process's locale to German, whose numbers have a decimal comma,
// for the time of one test. The locale comes from LOCPATH (made by the test
// set-up) or from the system.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    if (setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
      GTEST_SKIP() << "no de_DE.UTF-8 locale (LOCPATH="
                   << (getenv("LOCPATH") ? getenv("LOCPATH") : "") << "): localedef is missing";
    }
    char plain[16];
    std::snprintf(plain, sizeof(plain), "%.1f", 1.5);
    ASSERT_STREQ(plain, "1,5")
        << "the locale must give a decimal comma for these tests to mean anything";
  }
  void TearDown() override { setlocale(LC_ALL, "C"); }
};

}  // namespace

TEST_F(CommaLocale, FormattingWritesADecimalPointAndLeavesTheLocale) {
  char text[64];
  EXPECT_EQ(formatInCLocale(text, sizeof(text), "%f|%d|%.2f", 128.0, -7, -45.5), 20);
  EXPECT_STREQ(text, "128.000000|-7|-45.50");
  // Neither the process's nor this thread's locale changed.
  EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8");
  EXPECT_EQ(uselocale(static_cast<locale_t>(0)), LC_GLOBAL_LOCALE);
  char plain[16];
  std::snprintf(plain, sizeof(plain), "%.1f", 2.5);
  EXPECT_STREQ(plain, "2,5");
}

TEST_F(CommaLocale, TheBuilderAndTheHeaderReportWriteDecimalPoints) {
  char buffer[32];
  BoundedText text(buffer, sizeof(buffer));
  EXPECT_TRUE(text.append("%f", 0.25));
  EXPECT_STREQ(buffer, "0.250000");

  SurfaceRecord surface;
  std::memset(&surface, 0, sizeof(surface));
  surface.fileName = "brain.srf";
  surface.meshCenter = {128, 128, 128};
  surface.concaveColor = {1, 0.5f, 0};
  surface.convexColor = {0.25f, 0.5f, 0.75f};
  surface.meshRotation = {0, 90, -45.5f};
  const char* report = formatSurfaceHeader(&surface);
  ASSERT_NE(report, nullptr);
  const std::string copy(report);
  releaseSurfaceHeader(report);
  EXPECT_NE(copy.find("Mesh center: X: 128.000000, Y: 128.000000, Z: 128.000000\n"),
            std::string::npos);
  EXPECT_NE(copy.find("Concave red: 1.000000, green: 0.500000, blue: 0.000000\n"),
            std::string::npos);
  EXPECT_NE(copy.find("Convex red: 0.250000, green: 0.500000, blue: 0.750000\n"),
            std::string::npos);
  EXPECT_NE(copy.find("Mesh rotation X: 0.000000, Y: 90.000000, Z: -45.500000\n"),
            std::string::npos);
  for (size_t comma = copy.find(','); comma != std::string::npos;
       comma = copy.find(',', comma + 1)) {
    EXPECT_EQ(copy[comma + 1], ' ') << "a decimal comma in:\n" << copy;
  }
}

TEST(CLocaleFormat, ATextThatDoesNotFitIsCutAndReportedAsSuch) {
  struct Case {
    size_t size;
    int result;
    const char* text;
  };
  const Case cases[] = {
      {1, -1, ""}, {5, -1, "1.50"}, {9, -1, "1.500000"}, {10, 9, "1.500000!"}, {64, 9, "1.500000!"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(formatInCLocale(buffer, c.size, "%f!", 1.5), c.result) << c.size;
    EXPECT_STREQ(buffer, c.text) << c.size;
  }
}

TEST(CLocaleFormat, WithoutTheCLocaleNothingIsWrittenAndTheFailureIsReported) {
  for (bool* failing : {&failNewLocale, &failUseLocale}) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof(buffer));
    *failing = true;
    const int result = formatInCLocale(buffer, sizeof(buffer), "%f", 1.5);
    *failing = false;
    EXPECT_EQ(result, -1);
    EXPECT_STREQ(buffer, "");
  }
}
