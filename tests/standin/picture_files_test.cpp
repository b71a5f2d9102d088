// The picture's way out: PNG files that report a failed write, the
// terminal preview, and the picture options of the command line.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "standin/pictures/png_file.h"
#include "standin/pictures/terminal_preview.h"
#include "standin/session/options.h"

namespace standin {
namespace {

// A picture whose upper half is one colour and lower half another.
struct TwoToned {
  Picture picture;
  TwoToned(int32_t width, int32_t height, const uint8_t* upper, const uint8_t* lower) {
    EXPECT_TRUE(allocatePicture(&picture, width, height));
    for (int32_t row = 0; row < height; ++row) {
      for (int32_t column = 0; column < width; ++column) {
        uint8_t* pixel = picture.pixels + (static_cast<size_t>(row) * static_cast<size_t>(width) +
                                           static_cast<size_t>(column)) *
                                              3;
        const uint8_t* color = row < height / 2 ? upper : lower;
        for (int channel = 0; channel < 3; ++channel) pixel[channel] = color[channel];
      }
    }
  }
  ~TwoToned() { releasePicture(&picture); }
};

const uint8_t kRed[3] = {255, 0, 0};
const uint8_t kBlue[3] = {0, 0, 255};

TEST(PngFile, WritesAFileThatStartsAsPng) {
  TwoToned picture(8, 4, kRed, kBlue);
  std::string path = ::testing::TempDir() + "png_file_test.png";
  GrowingText error;
  ASSERT_TRUE(writePngFile(path.c_str(), picture.picture, &error)) << error.text();
  FILE* file = fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  unsigned char head[8] = {};
  EXPECT_EQ(fread(head, 1, 8, file), 8u);
  fclose(file);
  remove(path.c_str());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(head), 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

TEST(PngFile, AWriteThatFailsIsReportedWithThePath) {
  TwoToned picture(8, 4, kRed, kBlue);
  struct Case {
    const char* path;
    const char* reason;
  };
  const Case cases[] = {
      {"/no/such/folder/picture.png", "cannot write the picture /no/such/folder/picture.png"},
      // Opens, but every write fails: the device is full.
      {"/dev/full", "cannot write the picture /dev/full in full"},
  };
  for (const Case& test : cases) {
    // The full device must be the real one, never a file made in its place.
    if (strcmp(test.path, "/dev/full") == 0 &&
        !std::filesystem::is_character_file(std::filesystem::path(test.path))) {
      continue;
    }
    GrowingText error;
    EXPECT_FALSE(writePngFile(test.path, picture.picture, &error)) << test.path;
    EXPECT_STREQ(error.text(), test.reason);
  }
}

TEST(TerminalPreview, HalfBlocksCarryTheUpperAndLowerPixelColors) {
  // 4 x 4 pixels in 2 cells: each cell covers 2 x 2 pixels, so the preview
  // has 2 pixel rows, one line: red above blue.
  TwoToned picture(4, 4, kRed, kBlue);
  GrowingText text;
  appendPicturePreview(picture.picture, 2, &text);
  const std::string cell = "\x1b[38;2;255;0;0m\x1b[48;2;0;0;255m\xE2\x96\x80";
  EXPECT_EQ(std::string(text.text()), cell + cell + "\x1b[0m\n");
}

TEST(TerminalPreview, ProportionsAndMeanColors) {
  struct Case {
    int32_t width, height, columns;
    int lines, cellsPerLine;
  };
  // Pixel rows = columns x height / width; two per line.
  const Case cases[] = {
      {800, 600, 64, 24, 64},
      {600, 800, 64, 43, 64},
      {10, 4, 64, 2, 10},
      {3, 1, 64, 1, 3},
  };
  for (const Case& test : cases) {
    TwoToned picture(test.width, test.height, kRed, kBlue);
    GrowingText text;
    appendPicturePreview(picture.picture, test.columns, &text);
    std::string out = text.text();
    int lines = 0, cells = 0;
    for (size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1)) ++lines;
    for (size_t at = out.find("\xE2\x96\x80"); at != std::string::npos;
         at = out.find("\xE2\x96\x80", at + 1))
      ++cells;
    EXPECT_EQ(lines, test.lines) << test.width << "x" << test.height;
    EXPECT_EQ(cells, test.lines * test.cellsPerLine) << test.width << "x" << test.height;
  }
  // A cell over a red row and a blue row shows their mean.
  TwoToned mixed(2, 2, kRed, kBlue);
  GrowingText text;
  appendPicturePreview(mixed.picture, 1, &text);
  EXPECT_EQ(std::string(text.text()), "\x1b[38;2;128;0;128m\x1b[49m\xE2\x96\x80\x1b[0m\n");
}

bool parse(std::vector<const char*> arguments, Options* options) {
  GrowingText error;
  return parseOptions(static_cast<int>(arguments.size()), arguments.data(), options, &error);
}

TEST(PictureOptions, DefaultsWriteNothing) {
  Options options;
  ASSERT_TRUE(parse({}, &options));
  EXPECT_EQ(options.pictures.folder, nullptr);
  EXPECT_EQ(options.pictures.snapshotPath, nullptr);
  EXPECT_EQ(options.pictures.width, 800);
  EXPECT_EQ(options.pictures.height, 600);
  EXPECT_FALSE(options.noPreview);
}

TEST(PictureOptions, ReadsFolderSnapshotSizeAndPreview) {
  Options options;
  ASSERT_TRUE(parse(
      {"--pictures", "out", "--snapshot=end.png", "--picture-size", "640x8192", "--no-preview"},
      &options));
  EXPECT_STREQ(options.pictures.folder, "out");
  EXPECT_STREQ(options.pictures.snapshotPath, "end.png");
  EXPECT_EQ(options.pictures.width, 640);
  EXPECT_EQ(options.pictures.height, 8192);
  EXPECT_TRUE(options.noPreview);
}

TEST(PictureOptions, RejectsSizesItCannotDraw) {
  const char* const sizes[] = {"0x10",   "10x0",   "-5x5",    "5x-5",         "+5x5",
                               "8193x1", "1x8193", "10x",     "x10",          "10",
                               "10x10x", "10*10",  "10 x 10", "99999999999x1"};
  for (const char* size : sizes) {
    Options options;
    EXPECT_FALSE(parse({"--picture-size", size}, &options)) << size;
  }
  Options options;
  EXPECT_FALSE(parse({"--no-preview=1"}, &options));
}

}  // namespace
}  // namespace standin
