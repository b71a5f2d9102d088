#include "surface/surface_header_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

SurfaceRecord exampleSurface(const char* fileName) {
  SurfaceRecord surface;
  std::memset(&surface, 0, sizeof(surface));
  surface.fileName = fileName;
  surface.vertexCount = 40962;
  surface.triangleCount = 81920;
  // Every field holds a value of its own, so that a field written in the
  // place of another shows.
  surface.meshCenter = {127.5f, 128, 128.25f};
  surface.visible = 1;
  surface.convexColor = {0.25f, 0.375f, 0.75f};
  surface.concaveColor = {1, 0.5f, 0.125f};
  surface.meshRotation = {10, 90, -45.5f};
  surface.useStrips = 3;
  surface.stripElementCount = 4096;
  surface.renderMode = 2;
  return surface;
}

std::string report(const SurfaceRecord* surface) {
  const char* text = formatSurfaceHeader(surface);
  std::string copy(text);
  releaseSurfaceHeader(text);
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
            "Mesh center: X: 127.500000, Y: 128.000000, Z: 128.250000\n"
            "Visible: 1\n"
            "Mesh curvature colors: \n"
            "Concave red: 1.000000, green: 0.500000, blue: 0.125000\n"
            "Convex red: 0.250000, green: 0.375000, blue: 0.750000\n"
            "Mesh rotation X: 10.000000, Y: 90.000000, Z: -45.500000\n"
            "Number of triangle strip elements: 4096\n"
            "Use strips: 3\n"
            "Render mode: 2\n");
  EXPECT_EQ(text.size(), 416u);
}

TEST(SurfaceHeaderReport, NoRecordAndNoFileName) {
  EXPECT_EQ(formatSurfaceHeader(nullptr), kNoSurfaceContent);
  // Released as every report is: the static text must not be freed.
  EXPECT_EQ(report(nullptr), "No SRF content present.\n");
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
