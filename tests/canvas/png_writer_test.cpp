#include "canvas/png_writer.h"

#include <gtest/gtest.h>

namespace quorl {
namespace {

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
