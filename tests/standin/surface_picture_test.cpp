// Pictures of surfaces, checked by their properties after a round trip
// through PNG and a decoder that is not the encoder: size, background,
// colours where vertices land, the depth test, the rotation and the views.

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "standin/mesh/host_surface.h"
#include "standin/mesh/sample_surface.h"
#include "standin/pictures/picture_view.h"
#include "standin/pictures/png_file.h"
#include "standin/pictures/surface_picture.h"

namespace standin {
namespace {

struct Rgb {
  int red, green, blue;
};

std::ostream& operator<<(std::ostream& out, const Rgb& color) {
  return out << "(" << color.red << ", " << color.green << ", " << color.blue << ")";
}

bool near(const Rgb& actual, const Rgb& expected, int tolerance) {
  return std::abs(actual.red - expected.red) <= tolerance &&
         std::abs(actual.green - expected.green) <= tolerance &&
         std::abs(actual.blue - expected.blue) <= tolerance;
}

const Rgb kBackground = {kPictureBackground[0], kPictureBackground[1], kPictureBackground[2]};
const Rgb kRed = {255, 0, 0};
const int32_t kRedValue = 0x3FFF0000;

// A surface built in the test, released at the end.
struct TestSurface {
  HostSurface surface;
  TestSurface(const std::vector<float>& positions, const std::vector<int32_t>& triangles) {
    int32_t vertices = static_cast<int32_t>(positions.size() / 3);
    int32_t count = static_cast<int32_t>(triangles.size() / 3);
    EXPECT_TRUE(allocateSurface(&surface, vertices, count));
    std::copy(positions.begin(), positions.end(), surface.positions);
    std::copy(triangles.begin(), triangles.end(), surface.triangles);
    surface.convexColor[0] = 0.25f;
    surface.convexColor[1] = 0.5f;
    surface.convexColor[2] = 0.75f;
    surface.concaveColor[0] = 1.0f;
    surface.concaveColor[1] = 0.5f;
    surface.concaveColor[2] = 0.0f;
  }
  ~TestSurface() { releaseSurface(&surface); }
  void rotate(float x, float y, float z) {
    surface.meshRotation[0] = x;
    surface.meshRotation[1] = y;
    surface.meshRotation[2] = z;
  }
};

// The convex and concave colours given above, as bytes.
const Rgb kConvex = {64, 128, 191};
const Rgb kConcave = {255, 128, 0};

// A picture decoded from the PNG that the stand-in writes.
struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  Rgb at(int column, int row) const {
    const uint8_t* pixel =
        pixels.data() +
        (static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)) * 3;
    return {pixel[0], pixel[1], pixel[2]};
  }
};

// Draws `surface` in the record's view, or in `views` side by side.
Decoded draw(const HostSurface& surface, int32_t width, int32_t height,
             const ViewList* views = nullptr) {
  Decoded decoded;
  SurfaceShape shape;
  Picture picture;
  EXPECT_TRUE(computeSurfaceShape(surface, &shape));
  EXPECT_TRUE(allocatePicture(&picture, width, height));
  EXPECT_TRUE(views != nullptr ? renderViews(surface, shape, *views, &picture)
                               : renderSurface(surface, shape, &picture));
  size_t length = 0;
  unsigned char* png = encodePng(picture, &length);
  releasePicture(&picture);
  releaseSurfaceShape(&shape);
  if (png == nullptr) {
    ADD_FAILURE() << "no PNG";
    return decoded;
  }
  int channels = 0;
  unsigned char* pixels = stbi_load_from_memory(png, static_cast<int>(length), &decoded.width,
                                                &decoded.height, &channels, 3);
  free(png);
  if (pixels == nullptr) {
    ADD_FAILURE() << "the PNG does not decode: " << stbi_failure_reason();
    return decoded;
  }
  EXPECT_EQ(channels, 3);
  decoded.pixels.assign(pixels, pixels + static_cast<size_t>(decoded.width) *
                                             static_cast<size_t>(decoded.height) * 3);
  stbi_image_free(pixels);
  return decoded;
}

// A flat square from (-1, -1) to (1, 1) at height z, as a grid of
// `side` x `side` vertices, two triangles per cell, facing +z.
void addGrid(int side, float z, std::vector<float>* positions, std::vector<int32_t>* triangles) {
  int32_t first = static_cast<int32_t>(positions->size() / 3);
  for (int row = 0; row < side; ++row) {
    for (int column = 0; column < side; ++column) {
      positions->push_back(-1.0f +
                           2.0f * static_cast<float>(column) / static_cast<float>(side - 1));
      positions->push_back(-1.0f + 2.0f * static_cast<float>(row) / static_cast<float>(side - 1));
      positions->push_back(z);
    }
  }
  for (int row = 0; row + 1 < side; ++row) {
    for (int column = 0; column + 1 < side; ++column) {
      int32_t corner = first + row * side + column;
      triangles->insert(triangles->end(), {corner, corner + 1, corner + side + 1});
      triangles->insert(triangles->end(), {corner, corner + side + 1, corner + side});
    }
  }
}

// The mean place of the pixels near `colour`, or (-1, -1) for none.
void centroidOf(const Decoded& picture, const Rgb& color, double* column, double* row) {
  double sumColumn = 0, sumRow = 0;
  int count = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (!near(picture.at(x, y), color, 40)) continue;
      sumColumn += x + 0.5;
      sumRow += y + 0.5;
      ++count;
    }
  }
  *column = count > 0 ? sumColumn / count : -1;
  *row = count > 0 ? sumRow / count : -1;
}

TEST(SurfacePicture, WithoutTrianglesOnlyBackgroundAtTheAskedSize) {
  struct Case {
    const char* name;
    std::vector<float> positions;
    std::vector<int32_t> triangles;
  };
  const Case cases[] = {
      {"no vertices", {}, {}},
      {"vertices, no triangles", {0, 0, 0, 1, 1, 1}, {}},
      {"a triangle on one line", {0, 0, 0, 1, 1, 0, 2, 2, 0}, {0, 1, 2}},
      {"a triangle with an index outside", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 3}},
      {"a triangle with a coordinate not finite", {0, 0, 0, 1, 0, 0, 0, NAN, 0}, {0, 1, 2}},
  };
  for (const Case& test : cases) {
    TestSurface mesh(test.positions, test.triangles);
    Decoded picture = draw(mesh.surface, 37, 23);
    ASSERT_EQ(picture.width, 37) << test.name;
    ASSERT_EQ(picture.height, 23) << test.name;
    for (int row = 0; row < picture.height; ++row) {
      for (int column = 0; column < picture.width; ++column) {
        ASSERT_TRUE(near(picture.at(column, row), kBackground, 0))
            << test.name << " at " << column << ", " << row << ": " << picture.at(column, row);
      }
    }
  }
}

TEST(SurfacePicture, AFittedMeshLeavesTheCornersToTheBackground) {
  std::vector<float> positions;
  std::vector<int32_t> triangles;
  addGrid(3, 0.0f, &positions, &triangles);
  TestSurface mesh(positions, triangles);
  // A wide picture: the square fills the height, less the margin, centred.
  Decoded picture = draw(mesh.surface, 200, 100);
  EXPECT_TRUE(near(picture.at(0, 0), kBackground, 0));
  EXPECT_TRUE(near(picture.at(199, 99), kBackground, 0));
  EXPECT_TRUE(near(picture.at(100, 50), kConvex, 1)) << picture.at(100, 50);
  EXPECT_TRUE(near(picture.at(100, 2), kBackground, 0));
  EXPECT_TRUE(near(picture.at(100, 8), kConvex, 1));
  EXPECT_TRUE(near(picture.at(140, 50), kConvex, 1));
  EXPECT_TRUE(near(picture.at(160, 50), kBackground, 0));
}

TEST(SurfacePicture, StoredValuesShowTheirColorOrTheCurvatureColor) {
  struct Case {
    int32_t value;
    Rgb expected;
  };
  const Case cases[] = {
      {0x3FFF0000, {255, 0, 0}},
      {0x3F0000FF, {0, 0, 255}},
      {0x3F123456, {0x12, 0x34, 0x56}},
      {0x3FFFFFFF, {255, 255, 255}},
      {0x3F000000, {0, 0, 0}},
      // Any other top byte: the flat grid counts as convex.
      {0x40000000, kConvex},
      {0x3E123456, kConvex},
      {0, kConvex},
      {1, kConvex},
      {-1, kConvex},
  };
  std::vector<float> positions;
  std::vector<int32_t> triangles;
  addGrid(3, 0.0f, &positions, &triangles);
  for (const Case& test : cases) {
    TestSurface mesh(positions, triangles);
    for (int vertex = 0; vertex < 9; ++vertex) mesh.surface.colors[vertex] = test.value;
    Decoded picture = draw(mesh.surface, 41, 41);
    // Seen face on, the light from the viewer gives the full colour.
    EXPECT_TRUE(near(picture.at(20, 20), test.expected, 1))
        << std::hex << test.value << ": " << picture.at(20, 20);
  }
}

TEST(SurfacePicture, APaintedVertexShowsItsColorWhereItLands) {
  // 5 x 5 grid: vertex 18 lies at (0.5, 0.5), up and right of the middle.
  // Each row: the mesh's rotation, and the quadrant where the vertex lands
  // (x to the right, y up, the viewer on the side of +z).
  struct Case {
    float rotation[3];
    int right;  // +1 right of the middle, -1 left
    int up;     // +1 above, -1 below
  };
  const Case cases[] = {
      {{0, 0, 0}, +1, +1},   {{0, 0, 90}, -1, +1},  {{0, 0, -90}, +1, -1}, {{0, 0, 180}, -1, -1},
      {{180, 0, 0}, +1, -1}, {{0, 180, 0}, -1, +1}, {{0, 0, 450}, -1, +1}, {{NAN, 0, 0}, +1, +1},
  };
  std::vector<float> positions;
  std::vector<int32_t> triangles;
  addGrid(5, 0.0f, &positions, &triangles);
  for (const Case& test : cases) {
    TestSurface mesh(positions, triangles);
    mesh.surface.colors[18] = kRedValue;
    mesh.rotate(test.rotation[0], test.rotation[1], test.rotation[2]);
    Decoded picture = draw(mesh.surface, 101, 101);
    double column = 0, row = 0;
    centroidOf(picture, kRed, &column, &row);
    std::string name = std::to_string(test.rotation[0]) + ", " + std::to_string(test.rotation[1]) +
                       ", " + std::to_string(test.rotation[2]);
    ASSERT_GE(column, 0) << name << ": no red pixel";
    // Fitted with a margin of 5 pixels, the square spans 91 pixels, so the
    // vertex lands a quarter of that from the middle on each axis.
    EXPECT_NEAR(column, 50.5 + test.right * 22.75, 1.0) << name;
    EXPECT_NEAR(row, 50.5 - test.up * 22.75, 1.0) << name;
    int x = static_cast<int>(column), y = static_cast<int>(row);
    EXPECT_TRUE(near(picture.at(x, y), kRed, 30)) << name << ": " << picture.at(x, y);
    // The quadrant opposite holds no red.
    EXPECT_TRUE(near(picture.at(101 - x, 101 - y), kConvex, 1)) << name;
  }
}

TEST(SurfacePicture, CoordinatesNearTheLargestFloatAreStillFitted) {
  // Turned by 45 degrees, the corners lie farther out than any float.
  const float big = 3.0e38f;
  TestSurface mesh({-big, -big, 0, big, -big, 0, big, big, 0, -big, big, 0}, {0, 1, 2, 0, 2, 3});
  for (int vertex = 0; vertex < 4; ++vertex) mesh.surface.colors[vertex] = kRedValue;
  mesh.rotate(0, 0, 45);
  Decoded picture = draw(mesh.surface, 50, 50);
  // Lit in full: the normal survives products beyond the largest float.
  EXPECT_TRUE(near(picture.at(25, 25), kRed, 1)) << picture.at(25, 25);
  EXPECT_TRUE(near(picture.at(0, 0), kBackground, 0));
}

TEST(SurfacePicture, TheNearerOfTwoOverlappingTrianglesWins) {
  // Two grids one above the other: the one at z = 1 is green, at z = -1
  // blue. The viewer looks from +z, so turned half round y the blue one is
  // the nearer. Drawn in either order, the result is the same.
  const Rgb kGreen = {0, 255, 0};
  const Rgb kBlue = {0, 0, 255};
  struct Case {
    bool greenFirst;
    float turnY;
    Rgb expected;
  };
  const Case cases[] = {
      {true, 0, kGreen}, {false, 0, kGreen}, {true, 180, kBlue}, {false, 180, kBlue}};
  for (const Case& test : cases) {
    std::vector<float> positions;
    std::vector<int32_t> triangles;
    addGrid(2, test.greenFirst ? 1.0f : -1.0f, &positions, &triangles);
    addGrid(2, test.greenFirst ? -1.0f : 1.0f, &positions, &triangles);
    TestSurface mesh(positions, triangles);
    for (int vertex = 0; vertex < 8; ++vertex) {
      bool green = (vertex < 4) == test.greenFirst;
      mesh.surface.colors[vertex] = green ? 0x3F00FF00 : 0x3F0000FF;
    }
    mesh.rotate(0, test.turnY, 0);
    Decoded picture = draw(mesh.surface, 64, 64);
    for (int at : {16, 32, 47}) {
      EXPECT_TRUE(near(picture.at(at, at), test.expected, 1))
          << "green first " << test.greenFirst << ", turned " << test.turnY << ", pixel " << at
          << ": " << picture.at(at, at);
    }
  }
}

// An octahedron around the origin, wound so that its normals point out;
// vertex 4 is the top (0, 0, `top`).
TestSurface* octahedron(float top) {
  return new TestSurface({1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, top, 0, 0, -1},
                         {4, 0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 5, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3});
}

TEST(SurfaceShape, ConvexAndConcaveVerticesBySideOfTheirNeighbours) {
  struct Case {
    const char* name;
    float top;
    uint8_t topConvex;
  };
  const Case cases[] = {{"pointed", 1.0f, 1}, {"flat", 0.0f, 1}, {"pushed in", -0.5f, 0}};
  for (const Case& test : cases) {
    std::unique_ptr<TestSurface> mesh(octahedron(test.top));
    SurfaceShape shape;
    ASSERT_TRUE(computeSurfaceShape(mesh->surface, &shape)) << test.name;
    EXPECT_EQ(shape.convex[4], test.topConvex) << test.name;
    // The opposite tip stays convex whatever the top does.
    EXPECT_EQ(shape.convex[5], 1) << test.name;
    // Normals are unit vectors; the bottom's points down.
    EXPECT_NEAR(shape.normals[5 * 3 + 2], -1.0f, 1e-6f) << test.name;
    releaseSurfaceShape(&shape);
  }
}

TEST(SurfaceShape, AConcaveVertexIsDrawnInTheConcaveColor) {
  std::unique_ptr<TestSurface> dented(octahedron(-0.5f));
  Decoded picture = draw(dented->surface, 61, 61);
  EXPECT_TRUE(near(picture.at(30, 30), kConcave, 2)) << picture.at(30, 30);
  std::unique_ptr<TestSurface> pointed(octahedron(1.0f));
  picture = draw(pointed->surface, 61, 61);
  EXPECT_TRUE(near(picture.at(30, 30), kConvex, 2)) << picture.at(30, 30);
}

TEST(SurfaceShape, TheSampleSphereIsConvexEverywhere) {
  HostSurface sample;
  ASSERT_TRUE(buildSampleSurface(&sample));
  SurfaceShape shape;
  ASSERT_TRUE(computeSurfaceShape(sample, &shape));
  int concave = 0;
  for (int vertex = 0; vertex < sample.vertexCount; ++vertex) concave += shape.convex[vertex] == 0;
  EXPECT_EQ(concave, 0);
  releaseSurfaceShape(&shape);
  releaseSurface(&sample);
}

// A hemisphere as the field draws it: an octahedron off the middle, on the
// left (x < 0) or mirrored to the right, its outer tip painted red and put
// forward (+y). Drawn "lateral,medial", the lateral half shows the red tip
// left of the middle for a left hemisphere (anterior to the left) and right
// of it for a right one; the medial half hides it.
TEST(PictureView, LateralShowsTheOuterSideOfEitherHemisphere) {
  ViewList views;
  ASSERT_TRUE(parseViewList("lateral,medial", &views));
  for (int side : {-1, +1}) {
    SCOPED_TRACE(side < 0 ? "left" : "right");
    std::vector<float> positions = {1, 1, 0, -1, 0, 0, 0, 3, 0, 0, -3, 0, 0, 0, 2, 0, 0, -2};
    // The outer tip (vertex 0) at 50 from the middle, the inner at 30.
    for (size_t at = 0; at < positions.size(); at += 3) {
      positions[at] = static_cast<float>(side) * (40 + 10 * positions[at]);
      positions[at + 1] *= 10;
      positions[at + 2] *= 10;
    }
    // Wound outwards: mirrored, each triangle turns the other way round.
    std::vector<int32_t> triangles = {4, 0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0,
                                      5, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3};
    for (size_t at = 0; at < triangles.size() && side < 0; at += 3) {
      std::swap(triangles[at + 1], triangles[at + 2]);
    }
    TestSurface mesh(positions, triangles);
    mesh.surface.colors[0] = kRedValue;
    Decoded picture = draw(mesh.surface, 120, 60, &views);
    ASSERT_EQ(picture.width, 120);
    // The count and mean column of the red pixels in columns [from, to).
    auto findRed = [&](int from, int to, double* column) {
      int count = 0;
      double sum = 0;
      for (int y = 0; y < picture.height; ++y) {
        for (int x = from; x < to; ++x) {
          if (!near(picture.at(x, y), kRed, 60)) continue;
          ++count;
          sum += x + 0.5 - from;
        }
      }
      *column = count > 0 ? sum / count : -1;
      return count;
    };
    double column = 0;
    ASSERT_GT(findRed(0, 60, &column), 5) << "lateral";
    // 10 units forward, at 0.9 pixels a unit; the red fades over the faces
    // around the tip, so its mean lies a little nearer the middle.
    EXPECT_GT(side * (column - 30), 5) << "lateral, mean column " << column;
    EXPECT_EQ(findRed(60, 120, &column), 0) << "medial";
  }
}

TEST(Picture, SidesOutOfRangeAreRefused) {
  Picture picture;
  for (auto size :
       {std::pair<int32_t, int32_t>{0, 10}, {10, 0}, {-1, 10}, {kMaxPictureSide + 1, 1}}) {
    EXPECT_FALSE(allocatePicture(&picture, size.first, size.second));
    EXPECT_EQ(picture.pixels, nullptr);
  }
  EXPECT_TRUE(allocatePicture(&picture, 1, kMaxPictureSide));
  releasePicture(&picture);
}

}  // namespace
}  // namespace standin
