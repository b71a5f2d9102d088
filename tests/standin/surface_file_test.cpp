#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "host/host_records.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/surface_shape.h"

namespace standin {
namespace {

// A surface that owns its memory for the length of a test.
struct OwnedSurface {
  HostSurface surface;
  ~OwnedSurface() { releaseSurface(&surface); }
};

uint32_t bitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

void expectSameFloats(const float* actual, const float* expected, int count) {
  for (int index = 0; index < count; ++index) {
    EXPECT_EQ(bitsOf(actual[index]), bitsOf(expected[index])) << "float " << index;
  }
}

// Four vertices, two triangles, and every record field set to a value that
// a careless format would not bring back.
void makeAwkwardSurface(HostSurface* surface) {
  ASSERT_TRUE(allocateSurface(surface, 4, 2));
  const float positions[12] = {-0.0f,  1e-45f,     3.4028235e38f, 0.1f, -2.5f, 1.17549435e-38f,
                               128.0f, 59.999989f, -1e30f,        7.0f, 8.0f,  9.0f};
  std::memcpy(surface->positions, positions, sizeof(positions));
  const int32_t triangles[6] = {0, 1, 2, 0, 2, 3};
  std::memcpy(surface->triangles, triangles, sizeof(triangles));
  const int32_t colors[4] = {0, 0x3FFF0000, -1, std::numeric_limits<int32_t>::min()};
  std::memcpy(surface->colors, colors, sizeof(colors));
  surface->visible = -7;
  surface->renderMode = std::numeric_limits<int32_t>::max();
  const float convex[3] = {0.1f, -0.0f, 1e-45f};
  const float concave[3] = {1.0f, 0.5f, 0.333333343f};
  const float center[3] = {3.4028235e38f, -3.4028235e38f, 1.17549435e-38f};
  const float rotation[3] = {std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), -45.5f};
  std::memcpy(surface->convexColor, convex, sizeof(convex));
  std::memcpy(surface->concaveColor, concave, sizeof(concave));
  std::memcpy(surface->meshCenter, center, sizeof(center));
  std::memcpy(surface->meshRotation, rotation, sizeof(rotation));
  surface->useStrips = std::numeric_limits<int32_t>::min();
  surface->stripElementCount = 12345;
}

std::string encode(const HostSurface& surface) {
  GrowingText out;
  EXPECT_TRUE(encodeSurfacePly(surface, &out));
  return std::string(out.text(), out.length());
}

bool decode(const std::string& bytes, HostSurface* surface, std::string* message = nullptr) {
  GrowingText error;
  bool decoded = decodeSurfacePly(reinterpret_cast<const unsigned char*>(bytes.data()),
                                  bytes.size(), surface, &error);
  if (message != nullptr) *message = error.text();
  return decoded;
}

void expectSameSurface(const HostSurface& actual, const HostSurface& expected) {
  ASSERT_EQ(actual.vertexCount, expected.vertexCount);
  ASSERT_EQ(actual.triangleCount, expected.triangleCount);
  expectSameFloats(actual.positions, expected.positions, expected.vertexCount * 3);
  for (int index = 0; index < expected.vertexCount; ++index) {
    EXPECT_EQ(actual.colors[index], expected.colors[index]) << "colour " << index;
  }
  for (int index = 0; index < expected.triangleCount * 3; ++index) {
    EXPECT_EQ(actual.triangles[index], expected.triangles[index]) << "corner " << index;
  }
  EXPECT_EQ(actual.visible, expected.visible);
  EXPECT_EQ(actual.renderMode, expected.renderMode);
  expectSameFloats(actual.convexColor, expected.convexColor, 3);
  expectSameFloats(actual.concaveColor, expected.concaveColor, 3);
  expectSameFloats(actual.meshCenter, expected.meshCenter, 3);
  expectSameFloats(actual.meshRotation, expected.meshRotation, 3);
  EXPECT_EQ(actual.useStrips, expected.useStrips);
  EXPECT_EQ(actual.stripElementCount, expected.stripElementCount);
}

TEST(SurfaceFile, RoundTripKeepsEveryFieldExactly) {
  OwnedSurface original;
  makeAwkwardSurface(&original.surface);
  OwnedSurface loaded;
  std::string message;
  ASSERT_TRUE(decode(encode(original.surface), &loaded.surface, &message)) << message;
  expectSameSurface(loaded.surface, original.surface);
}

TEST(SurfaceFile, SavedFileLoadsUnderItsPath) {
  OwnedSurface original;
  makeAwkwardSurface(&original.surface);
  const std::string path = ::testing::TempDir() + "standin_round_trip.srf";
  GrowingText error;
  ASSERT_TRUE(saveSurfaceFile(original.surface, path.c_str(), &error)) << error.text();
  OwnedSurface loaded;
  ASSERT_TRUE(loadSurfaceFile(path.c_str(), &loaded.surface, &error)) << error.text();
  std::remove(path.c_str());
  expectSameSurface(loaded.surface, original.surface);
  EXPECT_EQ(std::string(loaded.surface.fileName), path);
}

TEST(SurfaceFile, HeaderNamesEveryRecordField) {
  OwnedSurface original;
  makeAwkwardSurface(&original.surface);
  const std::string bytes = encode(original.surface);
  const std::string header = bytes.substr(0, bytes.find("end_header\n"));
  for (const char* line :
       {"ply\nformat binary_little_endian 1.0\n", "comment zandrovix visible -7\n",
        "comment zandrovix renderMode 2147483647\n",
        "comment zandrovix convexColor 0.100000001 -0 1.40129846e-45\n",
        "comment zandrovix meshRotation inf -inf -45.5\n",
        "comment zandrovix useStrips -2147483648\n", "comment zandrovix stripElementCount 12345\n",
        "element vertex 4\n", "property int zv_color\n", "element face 2\n",
        "property list uchar int vertex_indices\n"}) {
    EXPECT_NE(header.find(line), std::string::npos) << line;
  }
}

TEST(SurfaceFile, ViewerColorsAreTheShownColors) {
  // A colour code shows its colour; any other value (0, -1, INT_MIN) the
  // convex or concave colour by the mesh's shape there, never a grey.
  OwnedSurface original;
  makeAwkwardSurface(&original.surface);
  const std::string bytes = encode(original.surface);
  SurfaceShape shape;
  ASSERT_TRUE(computeSurfaceShape(original.surface, &shape));
  const unsigned char convex[3] = {26, 0, 0};
  const unsigned char concave[3] = {255, 128, 85};
  const unsigned char red[3] = {255, 0, 0};
  size_t body = bytes.find("end_header\n") + 11;
  for (int vertex = 0; vertex < 4; ++vertex) {
    const unsigned char* expected = vertex == 1 ? red : shape.convex[vertex] ? convex : concave;
    size_t at = body + static_cast<size_t>(vertex) * 19 + 12;
    for (size_t channel = 0; channel < 3; ++channel) {
      EXPECT_EQ(static_cast<unsigned char>(bytes[at + channel]), expected[channel])
          << "vertex " << vertex << " channel " << channel;
    }
  }
  releaseSurfaceShape(&shape);
}

TEST(SurfaceFile, EveryTruncationIsRejected) {
  OwnedSurface original;
  makeAwkwardSurface(&original.surface);
  const std::string bytes = encode(original.surface);
  for (size_t length = 0; length < bytes.size(); ++length) {
    OwnedSurface loaded;
    EXPECT_FALSE(decode(bytes.substr(0, length), &loaded.surface)) << length;
    EXPECT_EQ(loaded.surface.colors, nullptr);
  }
  OwnedSurface loaded;
  std::string message;
  EXPECT_FALSE(decode(bytes + "x", &loaded.surface, &message));
  EXPECT_EQ(message, "1 bytes follow the last element");
}

std::string littleEndian(uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

std::string floats(std::initializer_list<float> values) {
  std::string bytes;
  for (float value : values) bytes += littleEndian(bitsOf(value));
  return bytes;
}

const char* const kThreeVertexHeader =
    "ply\nformat binary_little_endian 1.0\nelement vertex 3\n"
    "property float x\nproperty float y\nproperty float z\n"
    "element face 1\nproperty list uchar int vertex_indices\nend_header\n";

std::string threeVertices() {
  return floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
}

std::string triangle(uint32_t a, uint32_t b, uint32_t c) {
  return std::string(1, '\3') + littleEndian(a) + littleEndian(b) + littleEndian(c);
}

TEST(SurfaceFile, RejectsMalformedFiles) {
  const std::string vertexProperties = "property float x\nproperty float y\nproperty float z\n";
  struct Case {
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"", "not a PLY file"},
      {"PNG\n", "not a PLY file (it does not start with \"ply\")"},
      {"ply\nformat ascii 1.0\nend_header\n",
       "header line 2: only \"format binary_little_endian 1.0\" is supported"},
      {"ply\nformat binary_big_endian 1.0\nend_header\n",
       "header line 2: only \"format binary_little_endian 1.0\" is supported"},
      {"ply\nelement vertex 0\nend_header\n", "the header names no format"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\n",
       "the header has no end_header line"},
      {"ply\nformat binary_little_endian 1.0\nproperty float x\nend_header\n",
       "header line 3: property before any element"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex -1\nend_header\n",
       "header line 3: malformed element"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 2147483648\nend_header\n",
       "header line 3: malformed element"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 1\nproperty float80 x\nend_header\n",
       "header line 4: malformed property"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\nproperty list float int x\n"
       "end_header\n",
       "header line 4: malformed property"},
      {"ply\nformat binary_little_endian 1.0\nbogus\nend_header\n",
       "header line 3: unknown keyword \"bogus\""},
      {"ply\nformat binary_little_endian 1.0\ncomment zandrovix colour 1\nend_header\n",
       "header line 3: unknown zandrovix field \"colour\""},
      {"ply\nformat binary_little_endian 1.0\ncomment zandrovix meshCenter 1 2\nend_header\n",
       "header line 3: \"meshCenter\" needs 3 value(s)"},
      {"ply\nformat binary_little_endian 1.0\ncomment zandrovix visible 1.5\nend_header\n",
       "header line 3: \"1.5\" is not a valid value of visible"},
      {"ply\nformat binary_little_endian 1.0\ncomment zandrovix visible 2147483648\nend_header\n",
       "header line 3: \"2147483648\" is not a valid value of visible"},
      {"ply\nformat binary_little_endian 1.0\nelement face 0\nend_header\n",
       "the file has no vertex element"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\nproperty float x\n"
       "property float y\nend_header\n",
       "the vertices have no property z"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\n" + vertexProperties +
           "element vertex 0\nend_header\n",
       "more than one \"vertex\" element"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\n" + vertexProperties +
           "property float zv_color\nend_header\n",
       "zv_color is not a plain integer property"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\n" + vertexProperties +
           "element face 0\nproperty int vertex_indices\nend_header\n",
       "the faces have no integer list vertex_indices"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 1000\n" + vertexProperties +
           "end_header\n" + floats({1, 2, 3}),
       "the file is shorter than its header says"},
      {"ply\nformat binary_little_endian 1.0\nelement vertex 0\n" + vertexProperties +
           "element face 134217729\nproperty list uchar int vertex_indices\nend_header\n",
       "the surface has 134217729 triangles, more than the 134217728 the host loads"},
      {kThreeVertexHeader + threeVertices() + triangle(0, 1, 3),
       "face 0 is not a triangle of existing vertices"},
      {kThreeVertexHeader + threeVertices() + triangle(0, 0xFFFFFFFFu, 2),
       "face 0 is not a triangle of existing vertices"},
      {kThreeVertexHeader + threeVertices() + std::string(1, '\4') + littleEndian(0) +
           littleEndian(1) + littleEndian(2) + littleEndian(0),
       "face 0 is not a triangle of existing vertices"},
      {kThreeVertexHeader + threeVertices() + std::string(1, '\xFF') + littleEndian(0),
       "the file ends inside face 0"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.message);
    OwnedSurface loaded;
    std::string message;
    EXPECT_FALSE(decode(row.bytes, &loaded.surface, &message));
    EXPECT_EQ(message, row.message);
    EXPECT_EQ(loaded.surface.colors, nullptr);
  }
}

TEST(SurfaceFile, ReadsPlyFilesFromOtherTools) {
  // Colours without zv_color, extra properties of several types, uint
  // indices, an element the host does not use, comments of any length.
  std::string bytes =
      "ply\nformat binary_little_endian 1.0\n"
      "comment made by some other program with a rather long comment line here\n"
      "obj_info anything\n"
      "element vertex 3\nproperty double nx\nproperty float x\nproperty float y\n"
      "property float z\nproperty uchar red\nproperty uchar green\nproperty uchar blue\n"
      "property uchar alpha\nproperty list uchar short extra\n"
      "element face 1\nproperty list uchar uint vertex_indices\nproperty int8 flag\n"
      "element edge 1\nproperty int vertex1\nproperty int vertex2\nend_header\n";
  const unsigned char colors[3][4] = {{0x12, 0x34, 0x56, 255}, {255, 0, 0, 255}, {0, 0, 1, 0}};
  for (int vertex = 0; vertex < 3; ++vertex) {
    double normal = 0.5;
    bytes.append(reinterpret_cast<const char*>(&normal), 8);
    bytes += floats({static_cast<float>(vertex), 2.0f, -3.0f});
    bytes.append(reinterpret_cast<const char*>(colors[vertex]), 4);
    bytes += std::string(1, '\2') + std::string(4, '\0');
  }
  bytes += triangle(2, 1, 0) + std::string(1, '\x7F');
  bytes += littleEndian(0) + littleEndian(1);

  OwnedSurface loaded;
  std::string message;
  ASSERT_TRUE(decode(bytes, &loaded.surface, &message)) << message;
  const HostSurface& surface = loaded.surface;
  ASSERT_EQ(surface.vertexCount, 3);
  ASSERT_EQ(surface.triangleCount, 1);
  EXPECT_EQ(surface.positions[3], 1.0f);
  EXPECT_EQ(surface.positions[7], 2.0f);
  EXPECT_EQ(surface.positions[8], -3.0f);
  EXPECT_EQ(surface.colors[0], 0x3F123456);
  EXPECT_EQ(surface.colors[1], 0x3FFF0000);
  EXPECT_EQ(surface.colors[2], 0x3F000001);
  EXPECT_EQ(surface.triangles[0], 2);
  EXPECT_EQ(surface.triangles[2], 0);
  // Fields the file does not give take the sample surface's values.
  HostSurface sample;
  setSampleDisplayFields(&sample);
  EXPECT_EQ(surface.visible, sample.visible);
  EXPECT_EQ(surface.renderMode, sample.renderMode);
  expectSameFloats(surface.convexColor, sample.convexColor, 3);
  expectSameFloats(surface.meshRotation, sample.meshRotation, 3);
}

TEST(SurfaceFile, WithoutColorsOrFacesEveryValueIsZero) {
  std::string bytes = std::string(
                          "ply\nformat binary_little_endian 1.0\nelement vertex 2\n"
                          "property float x\nproperty float y\nproperty float z\nend_header\n") +
                      floats({1, 2, 3, 4, 5, 6});
  OwnedSurface loaded;
  ASSERT_TRUE(decode(bytes, &loaded.surface));
  EXPECT_EQ(loaded.surface.triangleCount, 0);
  EXPECT_NE(loaded.surface.triangles, nullptr);
  EXPECT_EQ(loaded.surface.colors[0], 0);
  EXPECT_EQ(loaded.surface.colors[1], 0);
}

}  // namespace
}  // namespace standin
