#include "canvas/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "settings/atomic_file.h"

namespace quorl {
namespace {

Picture24 Noise(int width, int height, unsigned seed) {
  Picture24 p(width, height);
  std::mt19937 random(seed);
  for (std::uint8_t& b : p.Bytes()) b = static_cast<std::uint8_t>(random());
  return p;
}

// Decodes with libpng's own reader into `format` (PNG_FORMAT_BGR or
// PNG_FORMAT_RGBA), rows top to bottom.
std::vector<std::uint8_t> Decode(const std::string& png, png_uint_32 format, int& width, int& height) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = format;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
  return pixels;
}

TEST(PngWriter, RgbRoundTripKeepsEveryByte) {
  const Picture24 picture = Noise(7, 5, 1);
  std::string png;
  ASSERT_TRUE(EncodePng(picture, {}, png));
  EXPECT_EQ(static_cast<unsigned char>(png[25]), 2);  // colour type RGB in the header
  int width = 0, height = 0;
  EXPECT_EQ(Decode(png, PNG_FORMAT_BGR, width, height), picture.Bytes());
  EXPECT_EQ(width, 7);
  EXPECT_EQ(height, 5);
}

TEST(PngWriter, AlphaAndTextChunks) {
  const Picture24 picture = Noise(3, 2, 2);
  PngWriteOptions options;
  options.alpha = {0, 10, 20, 30, 40, 255};
  options.texts = {{"quorl-plain", "a = 1\nb = \xC3\xA9", false}, {"quorl-packed", std::string(500, 'x')}};
  std::string png;
  ASSERT_TRUE(EncodePng(picture, options, png));
  EXPECT_EQ(static_cast<unsigned char>(png[25]), 6);  // RGBA
  EXPECT_NE(png.find("iTXtquorl-plain"), std::string::npos);
  EXPECT_NE(png.find("a = 1\nb = \xC3\xA9"), std::string::npos);
  EXPECT_NE(png.find("iTXtquorl-packed"), std::string::npos);
  EXPECT_EQ(png.find(std::string(500, 'x')), std::string::npos);  // compressed

  int width = 0, height = 0;
  const std::vector<std::uint8_t> rgba = Decode(png, PNG_FORMAT_RGBA, width, height);
  ASSERT_EQ(rgba.size(), 24u);
  for (int i = 0; i < 6; ++i) {
    const std::uint8_t* bgr = picture.Bytes().data() + 3 * i;
    EXPECT_EQ(rgba[4 * i + 0], bgr[2]);
    EXPECT_EQ(rgba[4 * i + 1], bgr[1]);
    EXPECT_EQ(rgba[4 * i + 2], bgr[0]);
    EXPECT_EQ(rgba[4 * i + 3], options.alpha[i]);
  }
}

TEST(PngWriter, RefusesWhatItCannotWrite) {
  std::string png = "untouched", error;
  EXPECT_FALSE(EncodePng(Picture24(), {}, png, &error));
  EXPECT_FALSE(error.empty());
  PngWriteOptions options;
  options.alpha = {1, 2, 3};
  EXPECT_FALSE(EncodePng(Picture24(2, 2), options, png, &error));
  options.alpha.clear();
  options.texts = {{"", "a keyword is required"}};
  EXPECT_FALSE(EncodePng(Picture24(2, 2), options, png, &error));
  EXPECT_EQ(png, "untouched");
}

TEST(PngWriter, WritesTheFileOrReportsWhyNot) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorl_png_writer_test";
  std::filesystem::create_directories(folder);
  const Picture24 picture = Noise(4, 4, 3);
  std::string bytes, expected, error;
  ASSERT_TRUE(WritePngFile((folder / "picture.png").string(), picture, {}, &error)) << error;
  ASSERT_TRUE(ReadWholeFile((folder / "picture.png").string(), bytes));
  ASSERT_TRUE(EncodePng(picture, {}, expected));
  EXPECT_EQ(bytes, expected);
  EXPECT_FALSE(WritePngFile((folder / "missing" / "picture.png").string(), picture, {}, &error));
  std::filesystem::remove_all(folder);
}

TEST(TransparencyAlpha, FollowsTheBackgroundAndTheOpacity) {
  Picture24 p(4, 1);
  p.SetPixel(0, 0, 255, 255, 255);
  p.SetPixel(1, 0, 255, 160, 255);  // a = 95, 95 * 2.7 = 256.5 is capped
  p.SetPixel(2, 0, 200, 255, 161);  // a = 94, 253.8 rounds to 254
  p.SetPixel(3, 0, 0, 0, 0);
  EXPECT_EQ(TransparencyAlpha(p, true, 27), (std::vector<std::uint8_t>{0, 255, 254, 255}));
  EXPECT_EQ(TransparencyAlpha(p, true, 10), (std::vector<std::uint8_t>{0, 95, 94, 255}));
  // On a dark background the brightest channel counts; black is clear.
  EXPECT_EQ(TransparencyAlpha(p, false, 10), (std::vector<std::uint8_t>{255, 255, 255, 0}));
  // Halves go to the even neighbour: 5 * 0.5 = 2.5 and 7 * 0.5 = 3.5.
  Picture24 q(2, 1);
  q.SetPixel(0, 0, 5, 0, 0);
  q.SetPixel(1, 0, 7, 0, 0);
  EXPECT_EQ(TransparencyAlpha(q, false, 5), (std::vector<std::uint8_t>{2, 4}));
}

}  // namespace
}  // namespace quorl
