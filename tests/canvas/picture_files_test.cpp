#include "canvas/picture_files.h"

#include <gtest/gtest.h>

#include "picture_test_files.h"

namespace quorl {
namespace {

using namespace quorl::testing;

void ExpectPixel(const Picture24& p, int x, int y, int r, int g, int b, int tolerance = 0) {
  const std::uint8_t* px = p.Row(y) + 3 * x;
  EXPECT_NEAR(px[2], r, tolerance) << x << "," << y;
  EXPECT_NEAR(px[1], g, tolerance) << x << "," << y;
  EXPECT_NEAR(px[0], b, tolerance) << x << "," << y;
}

TEST(PictureTypes, ExtensionsInAnyLetterCase) {
  EXPECT_EQ(PictureTypeFromExtension("JPG"), PictureType::Jpeg);
  EXPECT_EQ(PictureTypeFromExtension("jpeg"), PictureType::Jpeg);
  EXPECT_EQ(PictureTypeFromExtension("JpEg"), PictureType::Jpeg);
  EXPECT_EQ(PictureTypeFromExtension("Png"), PictureType::Png);
  EXPECT_EQ(PictureTypeFromExtension("bmp"), PictureType::Bmp);
  EXPECT_EQ(PictureTypeFromExtension("gif"), PictureType::Unknown);
  EXPECT_EQ(ExtensionOf("/a.b/picture.JPEG"), "JPEG");
  EXPECT_EQ(ExtensionOf("/a.b/picture"), "");
}

TEST(PngDecoding, ColourGreyAndAlphaFormats) {
  const Bytes rgb = PatternRgb(4, 3);
  Picture24 p;
  std::string error;
  ASSERT_TRUE(DecodePng(EncodePng(rgb, 4, 3, PNG_FORMAT_RGB).data(), EncodePng(rgb, 4, 3, PNG_FORMAT_RGB).size(), p,
                        error))
      << error;
  EXPECT_EQ(p.Width(), 4);
  EXPECT_EQ(p.Height(), 3);
  ExpectPixel(p, 0, 0, 0, 0, 200);
  ExpectPixel(p, 3, 2, 180, 200, 170);

  const Bytes grey = {0, 128, 255, 64};
  const Bytes greyPng = EncodePng(grey, 2, 2, PNG_FORMAT_GRAY);
  ASSERT_TRUE(DecodePng(greyPng.data(), greyPng.size(), p, error)) << error;
  ExpectPixel(p, 1, 0, 128, 128, 128);

  // A fully transparent pixel lies on black; an opaque one keeps its colour.
  const Bytes rgba = {255, 255, 255, 0, 10, 20, 30, 255};
  const Bytes rgbaPng = EncodePng(rgba, 2, 1, PNG_FORMAT_RGBA);
  ASSERT_TRUE(DecodePng(rgbaPng.data(), rgbaPng.size(), p, error)) << error;
  ExpectPixel(p, 0, 0, 0, 0, 0);
  ExpectPixel(p, 1, 0, 10, 20, 30);
}

TEST(JpegDecoding, DecodesAndRefusesTruncatedFiles) {
  const Bytes rgb(16 * 16 * 3, 120);
  const Bytes jpeg = EncodeJpeg(rgb, 16, 16);
  Picture24 p;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), p, error)) << error;
  EXPECT_EQ(p.Width(), 16);
  ExpectPixel(p, 5, 5, 120, 120, 120, 2);
}

TEST(DamagedFiles, GiveErrorsAndLeaveTheOldPicture) {
  Picture24 p(7, 1);
  std::string error;
  const Bytes png = EncodePng(PatternRgb(40, 40), 40, 40, PNG_FORMAT_RGB);
  const Bytes jpeg = EncodeJpeg(PatternRgb(40, 40), 40, 40);
  for (size_t cut : {size_t{0}, size_t{8}, size_t{30}, png.size() / 2, png.size() - 13}) {
    EXPECT_FALSE(DecodePng(png.data(), cut, p, error)) << cut;
    EXPECT_FALSE(error.empty());
  }
  for (size_t cut : {size_t{0}, size_t{2}, size_t{100}, jpeg.size() / 2, jpeg.size() - 2}) {
    EXPECT_FALSE(DecodeJpeg(jpeg.data(), cut, p, error)) << cut;
  }
  // A chunk that claims a gigabyte in a small file is refused before
  // anything is reserved for it.
  Bytes lying = png;
  lying[33] = 0x40;  // the first chunk after the header: its length's top byte
  EXPECT_FALSE(DecodePng(lying.data(), lying.size(), p, error));
  EXPECT_NE(error.find("longer than the file"), std::string::npos) << error;
  const Bytes junk(500, 0x5A);
  EXPECT_FALSE(DecodePng(junk.data(), junk.size(), p, error));
  EXPECT_FALSE(DecodeJpeg(junk.data(), junk.size(), p, error));
  EXPECT_FALSE(DecodeBmp(junk.data(), junk.size(), p, error));
  EXPECT_EQ(p.Width(), 7);  // untouched by every failure
}

TEST(BmpDecoding, EveryCommonDepth) {
  Picture24 p;
  std::string error;
  // 24 bits, 2 x 2, rows padded to 8 bytes, bottom row first.
  const Bytes rows24 = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  const Bytes bmp24 = MakeBmp(2, 2, 24, {}, rows24);
  ASSERT_TRUE(DecodeBmp(bmp24.data(), bmp24.size(), p, error)) << error;
  ExpectPixel(p, 0, 1, 3, 2, 1);  // bottom-left
  ExpectPixel(p, 1, 0, 12, 11, 10);

  // 8 bits with a palette.
  const Bytes palette = {0, 0, 255, 0, 0, 255, 0, 0};  // red, green (BGRX)
  const Bytes bmp8 = MakeBmp(3, 1, 8, palette, {1, 0, 1, 0});
  ASSERT_TRUE(DecodeBmp(bmp8.data(), bmp8.size(), p, error)) << error;
  ExpectPixel(p, 0, 0, 0, 255, 0);
  ExpectPixel(p, 1, 0, 255, 0, 0);

  // 1 bit: 0b10100000 gives on, off, on.
  const Bytes bmp1 = MakeBmp(3, 1, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0});
  ASSERT_TRUE(DecodeBmp(bmp1.data(), bmp1.size(), p, error)) << error;
  ExpectPixel(p, 0, 0, 255, 255, 255);
  ExpectPixel(p, 1, 0, 0, 0, 0);
  ExpectPixel(p, 2, 0, 255, 255, 255);

  // 32 bits BGRX and 16 bits 5-5-5.
  const Bytes bmp32 = MakeBmp(1, 1, 32, {}, {9, 8, 7, 0});
  ASSERT_TRUE(DecodeBmp(bmp32.data(), bmp32.size(), p, error)) << error;
  ExpectPixel(p, 0, 0, 7, 8, 9);
  const Bytes bmp16 = MakeBmp(1, 1, 16, {}, {0x00, 0x7C, 0, 0});  // pure red
  ASSERT_TRUE(DecodeBmp(bmp16.data(), bmp16.size(), p, error)) << error;
  ExpectPixel(p, 0, 0, 255, 0, 0);
}

TEST(BmpDecoding, LyingHeadersAreRefused) {
  Picture24 p;
  std::string error;
  Bytes bmp = MakeBmp(2, 2, 24, {}, Bytes(16, 0));
  Bytes wide = bmp;
  Put32(wide, 18, 100000);  // wider than the data
  EXPECT_FALSE(DecodeBmp(wide.data(), wide.size(), p, error));
  Bytes huge = bmp;
  Put32(huge, 18, 0x7FFFFFFF);
  Put32(huge, 22, 0x7FFFFFFF);
  EXPECT_FALSE(DecodeBmp(huge.data(), huge.size(), p, error));
  Bytes offset = bmp;
  Put32(offset, 10, 0xFFFFFFF0);
  EXPECT_FALSE(DecodeBmp(offset.data(), offset.size(), p, error));
  Bytes depth = bmp;
  Put16(depth, 28, 7);
  EXPECT_FALSE(DecodeBmp(depth.data(), depth.size(), p, error));
  Bytes header = bmp;
  Put32(header, 14, 5000);
  EXPECT_FALSE(DecodeBmp(header.data(), header.size(), p, error));
  Bytes minWidth = bmp;
  Put32(minWidth, 18, 0x80000000u);
  EXPECT_FALSE(DecodeBmp(minWidth.data(), minWidth.size(), p, error));
  // Top-down (negative height) is read the right way up.
  Bytes topDown = MakeBmp(1, 2, 24, {}, {1, 1, 1, 0, 2, 2, 2, 0});
  Put32(topDown, 22, static_cast<std::uint32_t>(-2));
  ASSERT_TRUE(DecodeBmp(topDown.data(), topDown.size(), p, error)) << error;
  ExpectPixel(p, 0, 0, 1, 1, 1);
}

TEST(PictureFiles, MissingAndUnknownFiles) {
  Picture24 p;
  std::string error;
  EXPECT_FALSE(DecodePictureFile("/nonexistent/x.png", PictureType::Png, p, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(DecodePictureFile(QUORL_SOURCE_DIR "/README.md", PictureType::Unknown, p, error));
  EXPECT_NE(error.find("unsupported"), std::string::npos);
}

}  // namespace
}  // namespace quorl
