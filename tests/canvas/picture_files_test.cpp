#include "canvas/picture_files.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace quorl {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A 4 x 3 test pattern, RGB, rows top to bottom.
Bytes PatternRgb(int w, int h) {
  Bytes rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      rgb.push_back(static_cast<std::uint8_t>(x * 60));
      rgb.push_back(static_cast<std::uint8_t>(y * 100));
      rgb.push_back(static_cast<std::uint8_t>(200 - x * 10));
    }
  return rgb;
}

Bytes EncodePng(const Bytes& pixels, int w, int h, png_uint_32 format) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

Bytes EncodeJpeg(const Bytes& rgb, int w, int h) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) + cinfo.next_scanline * static_cast<size_t>(w) * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

void Put16(Bytes& b, size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP with a 40-byte header; `rows` are stored bottom-up as given.
Bytes MakeBmp(int w, int h, int bits, const Bytes& palette, const Bytes& rowsBottomUp) {
  const size_t offset = 54 + palette.size();
  Bytes b(offset, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, static_cast<std::uint32_t>(offset));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<unsigned>(bits));
  Put32(b, 46, static_cast<std::uint32_t>(palette.size() / 4));  // colours used
  std::copy(palette.begin(), palette.end(), b.begin() + 54);
  b.insert(b.end(), rowsBottomUp.begin(), rowsBottomUp.end());
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  return b;
}

void ExpectPixel(const DecodedPicture& p, int x, int y, int r, int g, int b, int tolerance = 0) {
  const std::uint8_t* px = p.Pixel(x, y);
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
  DecodedPicture p;
  std::string error;
  ASSERT_TRUE(DecodePng(EncodePng(rgb, 4, 3, PNG_FORMAT_RGB).data(), EncodePng(rgb, 4, 3, PNG_FORMAT_RGB).size(), p,
                        error))
      << error;
  EXPECT_EQ(p.width, 4);
  EXPECT_EQ(p.height, 3);
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
  DecodedPicture p;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(jpeg.data(), jpeg.size(), p, error)) << error;
  EXPECT_EQ(p.width, 16);
  ExpectPixel(p, 5, 5, 120, 120, 120, 2);
}

TEST(DamagedFiles, GiveErrorsAndLeaveTheOldPicture) {
  DecodedPicture p;
  p.width = 7;
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
  const Bytes junk(500, 0x5A);
  EXPECT_FALSE(DecodePng(junk.data(), junk.size(), p, error));
  EXPECT_FALSE(DecodeJpeg(junk.data(), junk.size(), p, error));
  EXPECT_FALSE(DecodeBmp(junk.data(), junk.size(), p, error));
  EXPECT_EQ(p.width, 7);  // untouched by every failure
}

TEST(BmpDecoding, EveryCommonDepth) {
  DecodedPicture p;
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
  DecodedPicture p;
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
  DecodedPicture p;
  std::string error;
  EXPECT_FALSE(DecodePictureFile("/nonexistent/x.png", PictureType::Png, p, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(DecodePictureFile(QUORL_SOURCE_DIR "/README.md", PictureType::Unknown, p, error));
  EXPECT_NE(error.find("unsupported"), std::string::npos);
}

}  // namespace
}  // namespace quorl
