#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "canvas/canvas.h"
#include "canvas/image_stores.h"
#include "support/canvas_test_support.h"

namespace quorl {
namespace {

using testing::SmallCanvas;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << c.r << "," << c.g << "," << c.b;
}

// The bitmap pixel showing pixel-buffer pixel (x, y).
Rgb Shown(const Canvas& canvas, int x, int y) {
  const std::uint8_t* p = canvas.CanvasRows()[y] + 3 * x;
  return {p[2], p[1], p[0]};
}

TEST(SetImageDimensions, RefusesAGridThatCannotBeHeldAndKeepsTheOldOne) {
  SmallCanvas s(4, false);
  s.canvas.SetPixel(0, 1, 1, 7);
  s.params.ImageWidth = s.params.ImageHeight = 2000000000;
  std::string error;
  EXPECT_FALSE(s.canvas.SetImageDimensions(s.params, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(s.canvas.CanvasWidth(), 4);
  EXPECT_EQ(s.canvas.Pixel(0, 1, 1), 7);
}

TEST(Render, DirectRenderRoundsHalvesToEvenAndKeepsTheLowEightBits) {
  SmallCanvas s(8, false);
  const double values[] = {0.5, 1.5, 2.5, 3.5, 254.5, 256, -1, 1e300};
  const int expected[] = {0, 2, 2, 4, 254, 0, 255, 0};
  for (int i = 0; i < 8; ++i) s.canvas.SetPixel(0, i, 0, values[i]);
  s.canvas.SetPixel(1, 0, 0, std::nan(""));
  s.canvas.DrawGridsOnPicture(s.params);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Shown(s.canvas, i, 0).r, expected[i]) << values[i];
  EXPECT_EQ(Shown(s.canvas, 0, 0).g, 0);
}

TEST(Render, NormalisingWithEqualValuesShowsTheBrightestBackground) {
  SmallCanvas s(4, true);
  s.params.InterpolateColors = true;
  s.params.BgMaxRed = 200;
  s.params.BgMaxGreen = 150;
  s.params.BgMaxBlue = 100;
  s.canvas.MakePictureBlack(s.params, s.background);
  for (int x : {1, 2}) {
    s.canvas.SetPixel(0, x, 1, 180);
    s.canvas.SetPixel(2, x, 1, 60);
    s.canvas.SetFirstStep(x, 1, 0);
  }
  s.canvas.SetPixel(0, 3, 3, 17);  // not reached: shown directly
  s.canvas.DrawGridsOnPicture(s.params);
  EXPECT_EQ(Shown(s.canvas, 1, 1), (Rgb{200, 150, 100}));
  EXPECT_EQ(Shown(s.canvas, 2, 1), (Rgb{200, 150, 100}));
  EXPECT_EQ(Shown(s.canvas, 3, 3), (Rgb{17, 150, 100}));
  // Unreached pixels are left out of the normalisation entirely.
  s.params.NormalisationDivisor = 0;
  s.canvas.DrawGridsOnPicture(s.params);
  EXPECT_EQ(Shown(s.canvas, 1, 1), (Rgb{180, 150, 60}));
}

}  // namespace
}  // namespace quorl
