#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "standin/files/gifti_ascii_numbers.h"
#include "standin/files/surface_file.h"
#include "standin/files/surface_formats.h"
#include "standin/mesh/surface_anatomy.h"

namespace standin {
namespace {

struct OwnedSurface {
  HostSurface surface;
  ~OwnedSurface() { releaseSurface(&surface); }
};

std::string bigEndian(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>((value >> 16) & 0xFF),
          static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string floatBits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bigEndian(bits);
}

// A FreeSurfer triangle surface: the magic bytes, `createdBy` (with its line
// feeds), the counts, and the given vertices and triangles.
std::string freeSurferFile(const std::vector<float>& coordinates,
                           const std::vector<int32_t>& corners,
                           const std::string& createdBy = "created by test on today\n\n") {
  std::string bytes = "\xFF\xFF\xFE" + createdBy;
  bytes += bigEndian(static_cast<uint32_t>(coordinates.size() / 3));
  bytes += bigEndian(static_cast<uint32_t>(corners.size() / 3));
  for (float value : coordinates) bytes += floatBits(value);
  for (int32_t corner : corners) bytes += bigEndian(static_cast<uint32_t>(corner));
  return bytes;
}

const std::vector<float> kSquare = {0, 0, 0, 1, 0, 0, 1, 1, 0, -0.0f, 1, 3.4028235e38f};
const std::vector<int32_t> kSquareTriangles = {0, 1, 2, 0, 2, 3};

bool decodeFreeSurfer(const std::string& bytes, HostSurface* surface, std::string* message) {
  GrowingText error;
  bool decoded = decodeSurfaceFreeSurfer(reinterpret_cast<const unsigned char*>(bytes.data()),
                                         bytes.size(), surface, &error);
  *message = error.text();
  return decoded;
}

TEST(SurfaceFormatTable, ToldFromTheFirstBytes) {
  // The format's name, or "" for none; quads are FreeSurfer's to refuse.
  const struct {
    std::string bytes;
    const char* format;
  } cases[] = {
      {"\xFF\xFF\xFE"
       "created by",
       "FreeSurfer"},
      {"\xFF\xFF\xFF", "FreeSurfer"},
      {"\xFF\xFF", ""},
      {"ply\nformat", "PLY"},
      {"ply\r\nformat", "PLY"},
      {"plywood", ""},
      {"<?xml version=\"1.0\"?>\n<!DOCTYPE GIFTI>\n<GIFTI Version=\"1.0\">", "GIfTI"},
      {"\xEF\xBB\xBF  \r\n<GIFTI>", "GIfTI"},
      {"<?xml version=\"1.0\"?><svg/>", ""},
      {"GIFTI <GIFTI>", ""},
      {"<?xml?>" + std::string(5000, ' ') + "<GIFTI>", ""},
      {"", ""},
      {"\x1F\x8B\x08", ""},
  };
  for (const auto& entry : cases) {
    const SurfaceFormat* format = surfaceFormatOfContent(
        reinterpret_cast<const unsigned char*>(entry.bytes.data()), entry.bytes.size());
    EXPECT_STREQ(format != nullptr ? format->name : "", entry.format) << entry.bytes.substr(0, 40);
  }
}

TEST(SurfaceFormatTable, MessagesNameTheFormatsInTableOrder) {
  GrowingText all;
  GrowingText others;
  appendSurfaceFormatNames(&all, " or ");
  appendSurfaceFormatNames(&others, " and ", &kGiftiFormat);
  EXPECT_STREQ(all.text(), "PLY, FreeSurfer or GIfTI");
  EXPECT_STREQ(others.text(), "PLY and FreeSurfer");
}

TEST(SurfaceFormatTable, OnlyNamesEndingInGiiAreSavedAsGifti) {
  const struct {
    const char* name;
    bool gifti;
  } cases[] = {{"brain.gii", true},
               {"lh.pial.surf.gii", true},
               {"C:\\data\\B.GII", true},
               {".gii", true},
               {"gii", false},
               {"brain.gii.ply", false},
               {"brain.giii", false},
               {"brain_gii", false},
               {"brain.srf", false},
               {"", false}};
  for (const auto& entry : cases) {
    EXPECT_EQ(&surfaceFormatForName(entry.name), entry.gifti ? &kGiftiFormat : &kPlyFormat)
        << entry.name;
  }
}

TEST(FreeSurferFile, ReadsCoordinatesAndTrianglesExactly) {
  // With the usual two line feeds, with one only, and with a volume
  // information tail after the triangles.
  const std::string variants[] = {
      freeSurferFile(kSquare, kSquareTriangles),
      freeSurferFile(kSquare, kSquareTriangles, "created by someone\n"),
      freeSurferFile(kSquare, kSquareTriangles) +
          std::string("\x00\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x14", 12) +
          "valid = 1  # volume info valid\nfilename = brain.mgz\n",
  };
  for (const std::string& bytes : variants) {
    OwnedSurface loaded;
    std::string message;
    ASSERT_TRUE(decodeFreeSurfer(bytes, &loaded.surface, &message)) << message;
    ASSERT_EQ(loaded.surface.vertexCount, 4);
    ASSERT_EQ(loaded.surface.triangleCount, 2);
    for (size_t index = 0; index < kSquare.size(); ++index) {
      EXPECT_EQ(std::memcmp(&loaded.surface.positions[index], &kSquare[index], 4), 0) << index;
    }
    for (size_t index = 0; index < kSquareTriangles.size(); ++index) {
      EXPECT_EQ(loaded.surface.triangles[index], kSquareTriangles[index]) << index;
    }
    for (int vertex = 0; vertex < 4; ++vertex) EXPECT_EQ(loaded.surface.colors[vertex], 0);
    // Display fields of its own: the sample's colours, no rotation, the
    // centre of the mesh's box.
    EXPECT_EQ(loaded.surface.renderMode, 2);
    EXPECT_EQ(loaded.surface.meshRotation[1], 0.0f);
    EXPECT_EQ(loaded.surface.meshRotation[2], 0.0f);
    EXPECT_EQ(loaded.surface.meshCenter[0], 0.5f);
    EXPECT_EQ(loaded.surface.meshCenter[2], 1.70141173e38f);
    EXPECT_TRUE(loaded.surface.ownDisplayFields);
  }
}

// Which hemisphere a loaded surface holds: the GIfTI metadata's
// AnatomicalStructurePrimary (the file's or the POINTSET array's), else a
// FreeSurfer file's name (its last part), else the side of the mean x. A
// GIfTI file that keeps the stand-in's record fields keeps its display fields.
TEST(SurfaceHemisphere, FromTheMetadataThenAFreeSurferNameThenTheMeanX) {
  const std::vector<float> leftCoordinates = {-10, 0, 0, -11, 1, 0, -10, 0, 1};
  const std::vector<float> rightCoordinates = {10, 0, 0, 11, 1, 0, 10, 0, 1};
  auto gifti = [](const char* fileMeta, const char* pointsMeta, const char* coordinates) {
    auto array = [](const char* intent, const char* type, const char* meta, const char* data) {
      return std::string("<DataArray Intent=\"") + intent + "\" DataType=\"" + type +
             "\" ArrayIndexingOrder=\"RowMajorOrder\" Dimensionality=\"2\" Dim0=\"3\" "
             "Dim1=\"3\" Encoding=\"ASCII\" Endian=\"LittleEndian\" ExternalFileName=\"\" "
             "ExternalFileOffset=\"\"><MetaData>" +
             meta + "</MetaData><Data>" + data + "</Data></DataArray>\n";
    };
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<GIFTI Version=\"1.0\" NumberOfDataArrays=\"2\"><MetaData>") +
           fileMeta + "</MetaData><LabelTable/>\n" +
           array("NIFTI_INTENT_POINTSET", "NIFTI_TYPE_FLOAT32", pointsMeta, coordinates) +
           array("NIFTI_INTENT_TRIANGLE", "NIFTI_TYPE_INT32", "", "0 1 2 0 2 1 1 2 0") +
           "</GIFTI>\n";
  };
  const std::string left =
      "<MD><Name>AnatomicalStructurePrimary</Name><Value>CortexLeft</Value></MD>";
  const std::string right =
      "<MD><Name>AnatomicalStructurePrimary</Name><Value>CortexRight</Value></MD>";
  const char* const leftText = "-10 0 0 -11 1 0 -10 0 1";
  const char* const rightText = "10 0 0 11 1 0 10 0 1";
  struct Case {
    const char* name;
    std::string bytes;
    Hemisphere expected;
    bool ownDisplayFields;
  };
  const std::vector<int32_t> triangle = {0, 1, 2};
  const Case cases[] = {
      {"lh.pial", freeSurferFile(rightCoordinates, triangle), Hemisphere::kLeft, true},
      {"rh.white", freeSurferFile(leftCoordinates, triangle), Hemisphere::kRight, true},
      {"pial.lh", freeSurferFile(rightCoordinates, triangle), Hemisphere::kRight, true},
      {"white", freeSurferFile(leftCoordinates, triangle), Hemisphere::kLeft, true},
      {"lh.right.gii", gifti(right.c_str(), "", leftText), Hemisphere::kRight, true},
      {"rh.points_left.gii", gifti("", left.c_str(), rightText), Hemisphere::kLeft, true},
      {"file_over_points.gii", gifti(left.c_str(), right.c_str(), rightText), Hemisphere::kLeft,
       true},
      {"lh.unnamed.gii", gifti("", "", rightText), Hemisphere::kRight, true},
      {"saved.gii", gifti("<MD><Name>zandrovix.visible</Name><Value>1</Value></MD>", "", leftText),
       Hemisphere::kLeft, false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    if (!kGiftiAvailable && &surfaceFormatForName(test.name) == &kGiftiFormat) continue;
    const std::string path = ::testing::TempDir() + test.name;
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(test.bytes.data(), 1, test.bytes.size(), file);
    std::fclose(file);
    OwnedSurface loaded;
    GrowingText error;
    ASSERT_TRUE(loadSurfaceFile(path.c_str(), &loaded.surface, &error)) << error.text();
    EXPECT_EQ(surfaceHemisphere(loaded.surface), test.expected);
    EXPECT_EQ(loaded.surface.ownDisplayFields, test.ownDisplayFields);
    std::remove(path.c_str());
  }
}

TEST(FreeSurferFile, AnEmptyMeshReads) {
  OwnedSurface loaded;
  std::string message;
  ASSERT_TRUE(decodeFreeSurfer(freeSurferFile({}, {}), &loaded.surface, &message)) << message;
  EXPECT_EQ(loaded.surface.vertexCount, 0);
  EXPECT_NE(loaded.surface.colors, nullptr);
}

TEST(FreeSurferFile, RefusesEveryBrokenFileWithItsReason) {
  const std::string good = freeSurferFile(kSquare, kSquareTriangles);
  const size_t counts = good.find("\n\n") + 2;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"quad", "\xFF\xFF\xFF" + good.substr(3), "a FreeSurfer quad surface"},
      {"not FreeSurfer", "ply\n", "not a FreeSurfer triangle surface"},
      {"line without end", good.substr(0, 12), "ends inside its \"created by\" line"},
      {"endless line", "\xFF\xFF\xFE" + std::string(5000, 'x') + "\n\n", "has no end"},
      {"no counts", good.substr(0, counts + 7), "before its vertex and triangle counts"},
      {"one byte short", good.substr(0, good.size() - 1),
       "truncated: 4 vertices and 2 triangles need 72 bytes, 71 follow"},
      {"negative vertices",
       good.substr(0, counts) + bigEndian(0x80000000u) + good.substr(counts + 4),
       "negative count (-2147483648 vertices, 2 triangles)"},
      {"negative triangles",
       good.substr(0, counts + 4) + bigEndian(0xFFFFFFFFu) + good.substr(counts + 8),
       "negative count (4 vertices, -1 triangles)"},
      {"huge counts",
       good.substr(0, counts) + bigEndian(0x7FFFFFFFu) + bigEndian(0x7FFFFFFFu) +
           good.substr(counts + 8),
       "the surface has 2147483647 vertices, more than the 67108864 the host loads"},
      {"NaN", freeSurferFile({0, 0, 0, 1, nan, 0, 1, 1, 0}, {0, 1, 2}),
       "vertex 1 has a coordinate that is not a finite number"},
      {"infinity", freeSurferFile({0, 0, 0, 1, 0, 0, 1, 1, -infinity}, {0, 1, 2}),
       "vertex 2 has a coordinate that is not a finite number"},
      {"corner past the end", freeSurferFile(kSquare, {0, 1, 2, 0, 2, 4}),
       "triangle 1 has a corner outside the 4 vertices"},
      {"negative corner", freeSurferFile(kSquare, {-1, 1, 2}),
       "triangle 0 has a corner outside the 4 vertices"},
  };
  for (const auto& entry : cases) {
    OwnedSurface loaded;
    std::string message;
    EXPECT_FALSE(decodeFreeSurfer(entry.bytes, &loaded.surface, &message)) << entry.name;
    EXPECT_NE(message.find(entry.reason), std::string::npos) << entry.name << ": " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << entry.name;
    EXPECT_EQ(loaded.surface.positions, nullptr) << entry.name;
    EXPECT_EQ(loaded.surface.vertexCount, 0) << entry.name;
  }
}

// The hand-read numbers of GIfTI ASCII data are exactly strtod's and
// strtoll's, on texts around every limit of the quick way.
TEST(GiftiAsciiNumbers, ReadAsTheCRuntimeReadsThem) {
  std::mt19937_64 random(7);
  const char* const signs[] = {"", "-", "+"};
  std::vector<std::string> texts = {"0",
                                    "-0.0",
                                    ".5",
                                    "5.",
                                    "1e22",
                                    "1e23",
                                    "1e-22",
                                    "1e-23",
                                    "9007199254740993",
                                    "123456789012345",
                                    "1234567890123456",
                                    "0.000000000000000000000000001",
                                    "1.7976931348623157e308",
                                    "4.9e-324",
                                    "0x1p3",
                                    "inf",
                                    "-nan",
                                    "1e",
                                    "1e+",
                                    "--1",
                                    "",
                                    "12345678901234567890",
                                    "-9223372036854775808"};
  for (int count = 0; count < 200000; ++count) {
    std::string digits = std::to_string(random() >> (random() % 64));
    size_t point = random() % (digits.size() + 2);
    if (point <= digits.size()) digits.insert(point, ".");
    if (random() % 3 == 0) digits += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
    texts.push_back(signs[random() % 3] + digits);
  }
  for (const std::string& text : texts) {
    const char* begin = text.c_str();
    char* end = nullptr;
    double expected = std::strtod(begin, &end);
    bool whole = !text.empty() && end == begin + text.size();
    double read = 0;
    ASSERT_EQ(readAsciiFloat(begin, begin + text.size(), &read), whole) << text;
    if (whole) {
      ASSERT_EQ(std::memcmp(&read, &expected, sizeof(read)), 0) << text;
    }
    long long expectedInteger = std::strtoll(begin, &end, 10);
    whole = !text.empty() && end == begin + text.size();
    uint64_t bits = 0;
    ASSERT_EQ(readAsciiInteger(begin, begin + text.size(), true, &bits), whole) << text;
    if (whole) {
      ASSERT_EQ(bits, static_cast<uint64_t>(expectedInteger)) << text;
    }
  }
  // But for the white space that the C runtime skips before a number: the
  // values are split at blanks, so what is left (a vertical tab, a form
  // feed) is no XML character, and the value is refused however the text
  // reached the reader.
  for (const std::string& text : std::vector<std::string>{"\v1", "\f-2"}) {
    const char* begin = text.c_str();
    double read = 0;
    uint64_t bits = 0;
    EXPECT_FALSE(readAsciiFloat(begin, begin + text.size(), &read)) << text;
    EXPECT_FALSE(readAsciiInteger(begin, begin + text.size(), true, &bits)) << text;
  }
}

TEST(PlyFile, RefusesCoordinatesThatAreNotFinite) {
  for (float bad :
       {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    std::string bytes =
        "ply\nformat binary_little_endian 1.0\nelement vertex 2\nproperty float x\n"
        "property float y\nproperty float z\nend_header\n";
    const float values[6] = {1, 2, 3, 4, bad, 6};
    bytes.append(reinterpret_cast<const char*>(values), sizeof(values));
    OwnedSurface loaded;
    GrowingText error;
    EXPECT_FALSE(decodeSurfacePly(reinterpret_cast<const unsigned char*>(bytes.data()),
                                  bytes.size(), &loaded.surface, &error));
    EXPECT_STREQ(error.text(), "vertex 1 has a coordinate that is not a finite number");
    EXPECT_EQ(loaded.surface.positions, nullptr);
  }
}

// Saving under a name and loading the file again, in every format the
// name can ask for.
class SavedSurface : public ::testing::TestWithParam<const char*> {};

TEST_P(SavedSurface, LoadsBackWithEveryValueTheRecordHolds) {
  OwnedSurface original;
  ASSERT_TRUE(allocateSurface(&original.surface, 3, 1));
  const float positions[9] = {-0.0f,           1e-45f, 3.4028235e38f, 0.1f,  -2.5f,
                              1.17549435e-38f, 128.0f, 59.999989f,    -1e30f};
  std::memcpy(original.surface.positions, positions, sizeof(positions));
  const int32_t corners[3] = {2, 0, 1};
  std::memcpy(original.surface.triangles, corners, sizeof(corners));
  const int32_t colors[3] = {std::numeric_limits<int32_t>::min(), 0x3FABCDEF, -1};
  std::memcpy(original.surface.colors, colors, sizeof(colors));
  setSampleDisplayFields(&original.surface);
  original.surface.visible = -7;
  original.surface.stripElementCount = std::numeric_limits<int32_t>::max();
  original.surface.convexColor[1] = -0.0f;
  original.surface.meshCenter[0] = 1e-45f;
  original.surface.meshRotation[2] = -std::numeric_limits<float>::infinity();

  const std::string path = ::testing::TempDir() + "standin_saved_" + GetParam();
  GrowingText error;
  if (!kGiftiAvailable && &surfaceFormatForName(path.c_str()) == &kGiftiFormat) {
    EXPECT_FALSE(saveSurfaceFile(original.surface, path.c_str(), &error));
    EXPECT_NE(std::strstr(error.text(), "cannot save GIfTI"), nullptr) << error.text();
    return;
  }
  ASSERT_TRUE(saveSurfaceFile(original.surface, path.c_str(), &error)) << error.text();
  OwnedSurface loaded;
  bool read = loadSurfaceFile(path.c_str(), &loaded.surface, &error);
  std::remove(path.c_str());
  ASSERT_TRUE(read) << error.text();
  const HostSurface& a = loaded.surface;
  const HostSurface& b = original.surface;
  ASSERT_EQ(a.vertexCount, 3);
  ASSERT_EQ(a.triangleCount, 1);
  EXPECT_EQ(std::memcmp(a.positions, b.positions, sizeof(positions)), 0);
  EXPECT_EQ(std::memcmp(a.triangles, b.triangles, sizeof(corners)), 0);
  EXPECT_EQ(std::memcmp(a.colors, b.colors, sizeof(colors)), 0);
  for (int index = 0; index < kSurfaceFieldCount; ++index) {
    const SurfaceField& field = kSurfaceFields[index];
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&a) + field.offset,
                          reinterpret_cast<const char*>(&b) + field.offset,
                          static_cast<size_t>(field.count) * 4),
              0)
        << field.name;
  }
  EXPECT_EQ(std::string(a.fileName), path);
}

INSTANTIATE_TEST_SUITE_P(Formats, SavedSurface,
                         ::testing::Values("surface.ply", "surface.srf", "surface.gii",
                                           "surface.GII"));

TEST(SavingSurface, AnUnwritablePlaceIsReported) {
  OwnedSurface original;
  ASSERT_TRUE(allocateSurface(&original.surface, 0, 0));
  for (const char* name : {"/nonexistent folder/surface.gii", "/nonexistent folder/surface.ply"}) {
    GrowingText error;
    EXPECT_FALSE(saveSurfaceFile(original.surface, name, &error)) << name;
    EXPECT_NE(std::strstr(error.text(), name), nullptr) << error.text();
  }
}

}  // namespace
}  // namespace standin
