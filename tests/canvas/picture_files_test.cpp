#include "canvas/picture_files.h"

#include <gtest/gtest.h>

#include "support/picture_test_files.h"

namespace quorl {
namespace {

using namespace quorl::testing;

void ExpectPixel(const Picture24& p, int x, int y, int r, int g, int b, int tolerance = 0) {
  const std::uint8_t* px = p.Row(y) + 3 * x;
  EXPECT_NEAR(px[2], r, tolerance) << x << "," << y;
  EXPECT_NEAR(px[1], g, tolerance) << x << "," << y;
  EXPECT_NEAR(px[0], b, tolerance) << x << "," << y;
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

}  // namespace
}  // namespace quorl
