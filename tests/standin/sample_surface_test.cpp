#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "host/host_records.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/host_surface.h"
#include "standin/mesh/sample_surface.h"

namespace standin {
namespace {

struct OwnedSurface {
  HostSurface surface;
  ~OwnedSurface() { releaseSurface(&surface); }
};

std::string encode(const HostSurface& surface) {
  GrowingText out;
  EXPECT_TRUE(encodeSurfacePly(surface, &out));
  return std::string(out.text(), out.length());
}

TEST(SampleSurface, IsASubdividedIcosahedronAroundTheCentre) {
  OwnedSurface sample;
  ASSERT_TRUE(buildSampleSurface(&sample.surface));
  const HostSurface& surface = sample.surface;
  ASSERT_EQ(surface.vertexCount, 40962);
  ASSERT_EQ(surface.triangleCount, 81920);
  EXPECT_STREQ(surface.fileName, "Facetkit_sample.srf");
  int below = 0;
  for (int vertex = 0; vertex < surface.vertexCount; ++vertex) {
    const float* point = surface.positions + vertex * 3;
    double dx = point[0] - 128.0, dy = point[1] - 128.0, dz = point[2] - 128.0;
    ASSERT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), 60.0, 1e-3) << vertex;
    ASSERT_EQ(surface.colors[vertex], point[2] >= 128.0f ? 0 : 1) << vertex;
    below += surface.colors[vertex];
  }
  EXPECT_GT(below, 20000);
  EXPECT_LT(below, 20962);
  // A closed, consistently oriented mesh: every directed edge once, and
  // its reverse once.
  std::set<std::pair<int, int>> edges;
  for (int triangle = 0; triangle < surface.triangleCount; ++triangle) {
    const int32_t* corner = surface.triangles + triangle * 3;
    for (int side = 0; side < 3; ++side) {
      ASSERT_TRUE(edges.insert({corner[side], corner[(side + 1) % 3]}).second) << triangle;
    }
  }
  for (const auto& edge : edges) {
    ASSERT_EQ(edges.count({edge.second, edge.first}), 1u);
  }
}

TEST(SampleSurface, IsTheSameOnEveryBuild) {
  OwnedSurface first;
  OwnedSurface second;
  ASSERT_TRUE(buildSampleSurface(&first.surface));
  ASSERT_TRUE(buildSampleSurface(&second.surface));
  EXPECT_EQ(encode(first.surface), encode(second.surface));
}

TEST(SampleSurface, FillsTheWholeRecord) {
  OwnedSurface sample;
  ASSERT_TRUE(buildSampleSurface(&sample.surface));
  SurfaceRecord record;
  std::memset(&record, 0xAB, sizeof(record));
  fillSurfaceRecord(sample.surface, &record);
  EXPECT_EQ(record.vertexCount, 40962);
  EXPECT_EQ(record.triangleCount, 81920);
  EXPECT_EQ(record.vertexColors, sample.surface.colors);
  EXPECT_EQ(record.fileName, sample.surface.fileName);
  EXPECT_EQ(record.visible, 1);
  EXPECT_EQ(record.renderMode, 2);
  EXPECT_EQ(record.convexColor.red, 0.25f);
  EXPECT_EQ(record.convexColor.blue, 0.75f);
  EXPECT_EQ(record.concaveColor.red, 1.0f);
  EXPECT_EQ(record.concaveColor.blue, 0.0f);
  EXPECT_EQ(record.meshCenter.z, 128.0f);
  EXPECT_EQ(record.meshRotation.y, 90.0f);
  EXPECT_EQ(record.meshRotation.z, -45.5f);
  EXPECT_EQ(record.useStrips, 0);
  EXPECT_EQ(record.stripElementCount, 0);
  for (unsigned char byte : record.reservedMesh) EXPECT_EQ(byte, 0);
  for (unsigned char byte : record.reservedView) EXPECT_EQ(byte, 0);
  for (unsigned char byte : record.reservedStrips) EXPECT_EQ(byte, 0);
}

}  // namespace
}  // namespace standin
