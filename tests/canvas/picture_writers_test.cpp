// The writers of `quorl render -o`: 16-bit PNG from the canvas grids, the
// physical size in pHYs, JPEG; and telling pictures apart by content.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "canvas/deep_picture.h"
#include "canvas/jpeg_writer.h"
#include "canvas/picture_files.h"
#include "canvas/png_writer.h"
#include "support/picture_test_files.h"

namespace quorl {
namespace {

// A PNG read back without any conversion: its header, pHYs and raw rows.
struct RawPng {
  png_uint_32 width = 0, height = 0, perMetreX = 0, perMetreY = 0;
  int depth = 0, colourType = 0, unit = -1;
  std::vector<std::vector<std::uint8_t>> rows;
};

struct MemoryReader {
  const std::string* bytes;
  size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (reader->at + n > reader->bytes->size()) png_error(png, "short");
  std::memcpy(out, reader->bytes->data() + reader->at, n);
  reader->at += n;
}

RawPng ReadRawPng(const std::string& bytes) {
  RawPng raw;
  MemoryReader reader{&bytes, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    ADD_FAILURE() << "unreadable PNG";
    return {};
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_info(png, info);
  raw.width = png_get_image_width(png, info);
  raw.height = png_get_image_height(png, info);
  raw.depth = png_get_bit_depth(png, info);
  raw.colourType = png_get_color_type(png, info);
  png_get_pHYs(png, info, &raw.perMetreX, &raw.perMetreY, &raw.unit);
  raw.rows.assign(raw.height, std::vector<std::uint8_t>(png_get_rowbytes(png, info)));
  for (auto& row : raw.rows) png_read_row(png, row.data(), nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return raw;
}

TEST(DeepChannel, Times257RoundedHalfToEvenAndLimited) {
  EXPECT_EQ(DeepChannel(0), 0);
  EXPECT_EQ(DeepChannel(255), 65535);
  EXPECT_EQ(DeepChannel(1), 257);
  EXPECT_EQ(DeepChannel(1.5), 386);  // 385.5: the even neighbour
  EXPECT_EQ(DeepChannel(2.5), 642);  // 642.5
  EXPECT_EQ(DeepChannel(300), 65535);
  EXPECT_EQ(DeepChannel(-3), 0);
  EXPECT_EQ(DeepChannel(std::nan("")), 0);
  EXPECT_EQ(DeepChannel(1e300), 65535);
}

// The 16-bit picture keeps what the 8-bit one rounds away, and both come
// from the same grid values.
TEST(DeepPicture, ComesFromTheSameGridsAsTheBitmap) {
  ParameterSet params;
  params.ImageWidth = 4;
  params.ImageHeight = 2;
  params.InterpolateColors = false;
  Canvas canvas;
  ASSERT_TRUE(canvas.SetImageDimensions(params));
  const double values[4] = {0.4, 127.5, 254.6, 300.0};
  for (int x = 0; x < 4; ++x)
    for (int c = 0; c < 3; ++c) {
      canvas.SetPixel(c, x, 0, values[x] - c);
      canvas.SetPixel(c, x, 1, 10.0 * c + x);
    }
  canvas.DrawGridsOnPicture(params);
  const DeepPicture deep = canvas.RenderDeep(params);
  ASSERT_EQ(deep.width, 4);
  ASSERT_EQ(deep.height, 2);
  for (int x = 0; x < 4; ++x)
    for (int c = 0; c < 3; ++c) {
      // Row 0 of the grid is the bottom row: the last of the picture.
      const double v = values[x] - c;
      EXPECT_EQ(deep.rgb[(4 + x) * 3 + c], DeepChannel(v)) << x << "," << c;
      // Within 0 ... 255 both agree; outside it the bitmap keeps its
      // wrap-around and the 16-bit picture its limits.
      if (v >= 0 && v <= 255) {
        const std::uint8_t byte = canvas.Bitmap().Row(1)[x * 3 + 2 - c];
        EXPECT_EQ(std::lround(deep.rgb[(4 + x) * 3 + c] / 257.0), byte) << x << "," << c;
      }
    }

  PngWriteOptions options;
  options.dpi = 300;
  std::string bytes, error;
  ASSERT_TRUE(EncodeDeepPng(deep, options, bytes, &error)) << error;
  const RawPng raw = ReadRawPng(bytes);
  EXPECT_EQ(raw.depth, 16);
  EXPECT_EQ(raw.colourType, PNG_COLOR_TYPE_RGB);
  EXPECT_EQ(raw.unit, PNG_RESOLUTION_METER);
  EXPECT_EQ(raw.perMetreX, 11811u);  // 300 / 0.0254
  ASSERT_EQ(raw.rows.size(), 2u);
  for (size_t i = 0; i < 12; ++i)
    EXPECT_EQ(raw.rows[1][2 * i] << 8 | raw.rows[1][2 * i + 1], deep.rgb[12 + i]) << i;
}

TEST(PngWriter, EightBitsKeepsItsBytesAndGainsOnlyThePhysicalSize) {
  Picture24 picture(3, 2);
  picture.SetPixel(0, 0, 10, 20, 30);
  picture.SetPixel(2, 1, 200, 100, 50);
  std::string plain, printed, error;
  ASSERT_TRUE(EncodePng(picture, {}, plain, &error)) << error;
  PngWriteOptions options;
  options.dpi = 72;
  ASSERT_TRUE(EncodePng(picture, options, printed, &error)) << error;
  const RawPng a = ReadRawPng(plain), b = ReadRawPng(printed);
  EXPECT_EQ(a.unit, -1);  // no pHYs unless asked
  EXPECT_EQ(b.perMetreY, 2835u);
  EXPECT_EQ(a.rows, b.rows);
  EXPECT_EQ(a.depth, 8);
  EXPECT_EQ((std::vector<std::uint8_t>(a.rows[0].begin(), a.rows[0].begin() + 3)),
            (std::vector<std::uint8_t>{10, 20, 30}));
}

TEST(JpegWriter, QualityAndResolution) {
  Picture24 picture(32, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x)
      picture.SetPixel(x, y, static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 10), 90);
  std::string best, worst, error;
  ASSERT_TRUE(EncodeJpeg(picture, {100, 300}, best, &error)) << error;
  ASSERT_TRUE(EncodeJpeg(picture, {5, 0}, worst, &error)) << error;
  EXPECT_LT(worst.size(), best.size());
  // JFIF: units 1 (dots per inch), then the two densities.
  ASSERT_GT(best.size(), 18u);
  EXPECT_EQ(best[13], 1);
  EXPECT_EQ(static_cast<unsigned char>(best[14]) << 8 | static_cast<unsigned char>(best[15]), 300);
  Picture24 back;
  ASSERT_TRUE(DecodeJpeg(reinterpret_cast<const std::uint8_t*>(best.data()), best.size(), back, error))
      << error;
  ASSERT_EQ(back.Width(), 32);
  int worstDifference = 0;
  for (int y = 0; y < 24; ++y)
    for (int i = 0; i < 96; ++i)
      worstDifference = std::max(worstDifference, std::abs(back.Row(y)[i] - picture.Row(y)[i]));
  EXPECT_LE(worstDifference, 6);
  EXPECT_FALSE(EncodeJpeg(picture, {0, 0}, best, &error));
  EXPECT_FALSE(EncodeJpeg(Picture24(), {90, 0}, best, &error));
}

TEST(PictureContent, TypesGoByTheBytesNotTheName) {
  const auto describe = [](const std::string& bytes) {
    return DescribeContent(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  const testing::Bytes jpeg = testing::EncodeJpeg(testing::PatternRgb(4, 3), 4, 3);
  EXPECT_EQ(PictureTypeOfContent(jpeg.data(), jpeg.size()), PictureType::Jpeg);
  EXPECT_EQ(describe("GIF89a\x01\x00"), "a GIF picture");
  EXPECT_EQ(describe(std::string("MM\0*\0\0\0\x08", 8)), "a TIFF picture");
  EXPECT_EQ(describe(std::string("\x7F"
                                 "ELF\x02\x01\x01\0",
                                 8)),
            "a program");
  EXPECT_EQ(describe("%PDF-1.7"), "a PDF document");
  EXPECT_EQ(describe("hello"), "text");
  EXPECT_EQ(describe(""), "empty");
  EXPECT_EQ(describe(std::string("\x01\x02\0\x03", 4)), "an unknown kind of file");
}

// A progressive JPEG whose last scan is repeated a thousand times: refused
// by counting, before libjpeg decodes any of them.
TEST(PictureContent, JpegWithThousandsOfScansIsRefusedAtOnce) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 256;
  cinfo.image_height = 256;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  const testing::Bytes rgb = testing::PatternRgb(256, 256);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) + cinfo.next_scanline * 256 * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string progressive(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);

  const auto* data = reinterpret_cast<const std::uint8_t*>(progressive.data());
  const int scans = CountJpegScans(data, progressive.size());
  EXPECT_GE(scans, 5);
  EXPECT_LE(scans, 20);
  Picture24 picture;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(data, progressive.size(), picture, error)) << error;

  // The last scan runs from its start-of-scan marker to the end-of-image.
  const size_t lastScan = progressive.rfind("\xFF\xDA");
  ASSERT_NE(lastScan, std::string::npos);
  const std::string scan = progressive.substr(lastScan, progressive.size() - 2 - lastScan);
  std::string hostile = progressive.substr(0, progressive.size() - 2);
  for (int i = 0; i < 1000; ++i) hostile += scan;
  hostile += "\xFF\xD9";
  const auto* hostileData = reinterpret_cast<const std::uint8_t*>(hostile.data());
  EXPECT_GT(CountJpegScans(hostileData, hostile.size()), kMaxJpegScans);
  EXPECT_FALSE(DecodeJpeg(hostileData, hostile.size(), picture, error));
  EXPECT_NE(error.find("scans"), std::string::npos) << error;
  EXPECT_EQ(picture.Width(), 256);  // the earlier picture is kept
}

}  // namespace
}  // namespace quorl
