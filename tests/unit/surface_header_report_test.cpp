#include "surface/surface_header_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

SurfaceRecord exampleSurface(const char* fileName) {
  SurfaceRecord surface;
  std::memset(&surface, 0, sizeof(surface));
  surface.fileName = fileName;
  surface.vertexCount = 40962;
  surface.triangleCount = 81920;
  surface.meshCenter = {128, 128, 128};
  surface.visible = 1;
  surface.convexColor = {0.25f, 0.5f, 0.75f};
  surface.concaveColor = {1, 0.5f, 0};
  surface.meshRotation = {0, 90, -45.5f};
  surface.renderMode = 2;
  return surface;
}

std::string report(const SurfaceRecord* surface) {
  const char* text = formatSurfaceHeader(surface);
  std::string copy(text);
  releaseSurfaceHeader(text);
  return copy;
}

std::string textFileName(const char* fileName) {
  char* name = replaceExtension(fileName, ".txt");
  EXPECT_NE(name, nullptr);
  std::string copy(name != nullptr ? name : "");
  std::free(name);
  return copy;
}

}  // namespace

TEST(SurfaceHeaderReport, FourteenLinesConcaveBeforeConvex) {
  SurfaceRecord surface = exampleSurface("C:\\data\\brain_LH.srf");
  const std::string text = report(&surface);
  EXPECT_EQ(text,
            "\nSRF filename: \nC:\\data\\brain_LH.srf\n"
            "Number of vertices: 40962\n"
            "Number of triangles: 81920\n"
            "Mesh center: X: 128.000000, Y: 128.000000, Z: 128.000000\n"
            "Visible: 1\n"
            "Mesh curvature colors: \n"
            "Concave red: 1.000000, green: 0.500000, blue: 0.000000\n"
            "Convex red: 0.250000, green: 0.500000, blue: 0.750000\n"
            "Mesh rotation X: 0.000000, Y: 90.000000, Z: -45.500000\n"
            "Number of triangle strip elements: 0\n"
            "Use strips: 0\n"
            "Render mode: 2\n");
  EXPECT_EQ(text.size(), 412u);
}

TEST(SurfaceHeaderReport, NoRecordAndNoFileName) {
  EXPECT_EQ(formatSurfaceHeader(nullptr), kNoSurfaceContent);
  EXPECT_STREQ(kNoSurfaceContent, "No SRF content present.\n");
  SurfaceRecord surface = exampleSurface(nullptr);
  EXPECT_EQ(report(&surface).rfind("\nSRF filename: \n\nNumber of vertices: 40962\n", 0), 0u);
}

TEST(SurfaceHeaderReport, ExtremeValuesAndLongNamesGiveACompleteReport) {
  std::string longName(200000, 'd');
  longName += ".srf";
  SurfaceRecord surface = exampleSurface(longName.c_str());
  surface.meshCenter = {-3.4e38f, 3.4e38f, -3.4e38f};
  surface.concaveColor = {3.4e38f, 3.4e38f, 3.4e38f};
  surface.convexColor = {-3.4e38f, -3.4e38f, -3.4e38f};
  surface.meshRotation = {3.4e38f, -3.4e38f, 3.4e38f};
  surface.vertexCount = -2147483647 - 1;
  const std::string text = report(&surface);
  EXPECT_NE(text.find(longName), std::string::npos);
  EXPECT_NE(text.find("Number of vertices: -2147483648\n"), std::string::npos);
  EXPECT_EQ(text.compare(text.size() - 15, 15, "Render mode: 2\n"), 0);
}

TEST(TextFileName, OnlyTheFilesOwnExtensionIsReplaced) {
  struct Case {
    const char* surfaceFile;
    const char* textFile;
  };
  const Case cases[] = {
      {"C:\\data\\brain_LH.srf", "C:\\data\\brain_LH.txt"},
      {"C:\\data\\brain", "C:\\data\\brain.txt"},
      {"C:\\data\\brain.left.srf", "C:\\data\\brain.left.txt"},
      {".srf", ".txt"},
      {"", "''.txt"},
      {nullptr, "''.txt"},
      {"C:\\data.v2\\brain", "C:\\data.v2\\brain.txt"},
      {"/home/u/scans.old/brain", "/home/u/scans.old/brain.txt"},
      {"/home/u/scans.old/brain.srf", "/home/u/scans.old/brain.txt"},
      {"C:\\data\\.srf", "C:\\data\\.txt"},
      {"brain.", "brain.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textFileName(c.surfaceFile), c.textFile)
        << (c.surfaceFile != nullptr ? c.surfaceFile : "(null)");
  }
}

TEST(TextFileName, StripExtensionGivesQuotesForNoName) {
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    char* base = stripExtension(name);
    ASSERT_NE(base, nullptr);
    EXPECT_STREQ(base, "''");
    std::free(base);
  }
}
