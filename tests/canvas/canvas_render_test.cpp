#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "canvas/canvas.h"
#include "canvas/image_stores.h"
#include "canvas_test_support.h"

namespace quorl {
namespace {

using testing::SmallCanvas;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) { return out << c.r << "," << c.g << "," << c.b; }

// The bitmap pixel showing pixel-buffer pixel (x, y).
Rgb Shown(const Canvas& canvas, int x, int y) {
  const std::uint8_t* p = canvas.CanvasRows()[y] + 3 * x;
  return {p[2], p[1], p[0]};
}

Rgb Buffered(const Canvas& canvas, int x, int y) {
  return {static_cast<int>(canvas.Pixel(0, x, y)), static_cast<int>(canvas.Pixel(1, x, y)),
          static_cast<int>(canvas.Pixel(2, x, y))};
}

struct Placement : ::testing::Test {
  Placement() {
    params.ImageWidth = 800;
    params.ImageHeight = 800;
    params.BgMaxRed = 1;
    params.BgMaxGreen = 2;
    params.BgMaxBlue = 3;
    params.UseBackgroundImage = true;
  }
  // Red and green give the image column and row counted from the bottom,
  // halved so that 400 x 300 fits in a byte.
  void Load(int width, int height, int divisor = 2) {
    Picture24 p(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        p.SetPixel(x, height - 1 - y, static_cast<std::uint8_t>(x / divisor), static_cast<std::uint8_t>(y / divisor),
                   77);
    background.SetPicture(p);
  }
  void Reset() {
    ASSERT_TRUE(canvas.SetImageDimensions(params));
    canvas.MakePictureBlack(params, background);
  }
  ParameterSet params;
  BackgroundStore background;
  Canvas canvas;
};

TEST_F(Placement, WithoutAnImageEveryPixelTakesTheBackgroundColour) {
  params.UseBackgroundImage = false;
  Load(10, 10);
  Reset();
  for (int y : {0, 400, 799})
    for (int x : {0, 400, 799}) {
      EXPECT_EQ(Buffered(canvas, x, y), (Rgb{1, 2, 3}));
      EXPECT_EQ(Shown(canvas, x, y), (Rgb{1, 2, 3}));
      EXPECT_EQ(canvas.FirstStep(x, y), Canvas::NeverPainted);
      EXPECT_EQ(canvas.Background(0, x, y), 1);
    }
}

TEST_F(Placement, CentredImageIsFramedByTheBackgroundColour) {
  Load(400, 300);
  Reset();
  EXPECT_EQ(Buffered(canvas, 200, 250), (Rgb{0, 0, 77}));
  EXPECT_EQ(Buffered(canvas, 599, 549), (Rgb{199, 149, 77}));
  EXPECT_EQ(Buffered(canvas, 400, 260), (Rgb{100, 5, 77}));
  for (const auto& [x, y] : {std::pair{199, 300}, {600, 300}, {300, 249}, {300, 550}})
    EXPECT_EQ(Buffered(canvas, x, y), (Rgb{1, 2, 3})) << x << "," << y;
  EXPECT_EQ(canvas.Background(0, 599, 549), 199);
  // The bottom-left pixel of the image is shown 250 rows above the bitmap's bottom.
  EXPECT_EQ(Shown(canvas, 200, 250), (Rgb{0, 0, 77}));
  EXPECT_EQ(canvas.Bitmap().Row(799 - 250)[3 * 200], 77);
}

TEST_F(Placement, StretchedImageCoversTheCanvas) {
  params.ImageWidth = params.ImageHeight = 4;
  params.BackgroundImagePositionStretched = true;
  Load(2, 2, 1);
  Reset();
  EXPECT_EQ(Buffered(canvas, 0, 0), (Rgb{0, 0, 77}));
  EXPECT_EQ(Buffered(canvas, 1, 1), (Rgb{0, 0, 77}));
  EXPECT_EQ(Buffered(canvas, 2, 1), (Rgb{1, 0, 77}));
  EXPECT_EQ(Buffered(canvas, 3, 3), (Rgb{1, 1, 77}));
}

TEST_F(Placement, TiledImageRepeatsFromTheBottomLeft) {
  params.ImageWidth = 8;
  params.ImageHeight = 5;
  params.BackgroundImagePositionTiled = true;  // wins over the centred default
  Load(3, 2, 1);
  Reset();
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Buffered(canvas, x, y), (Rgb{x % 3, y % 2, 77})) << x << "," << y;
}

TEST(SetImageDimensions, KeepsExistingCellsAndZeroesNewOnes) {
  SmallCanvas s(4, false);
  s.canvas.SetPixel(1, 3, 2, 42.5);
  s.canvas.SetFirstStep(3, 2, 9);
  s.params.ImageWidth = 6;
  s.params.ImageHeight = 3;
  ASSERT_TRUE(s.canvas.SetImageDimensions(s.params));
  EXPECT_EQ(s.canvas.CanvasWidth(), 6);
  EXPECT_EQ(s.canvas.CanvasHeight(), 3);
  EXPECT_EQ(s.canvas.Pixel(1, 3, 2), 42.5);
  EXPECT_EQ(s.canvas.FirstStep(3, 2), 9);
  EXPECT_EQ(s.canvas.FirstStep(0, 0), Canvas::NeverPainted);  // from the reset
  EXPECT_EQ(s.canvas.FirstStep(5, 2), 0);                     // new: counts as reached at step 0
  EXPECT_EQ(s.canvas.Pixel(0, 5, 0), 0);
  EXPECT_EQ(s.canvas.Bitmap().Width(), 6);
  EXPECT_EQ(s.canvas.Bitmap().Height(), 3);
  s.params.ImageWidth = -5;
  ASSERT_TRUE(s.canvas.SetImageDimensions(s.params));
  EXPECT_EQ(s.canvas.CanvasWidth(), 0);
  s.canvas.drawArrayOnImage(s.params);  // an empty canvas renders nothing and does not fail
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
  s.canvas.drawArrayOnImage(s.params);
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
  s.canvas.drawArrayOnImage(s.params);
  EXPECT_EQ(Shown(s.canvas, 1, 1), (Rgb{200, 150, 100}));
  EXPECT_EQ(Shown(s.canvas, 2, 1), (Rgb{200, 150, 100}));
  EXPECT_EQ(Shown(s.canvas, 3, 3), (Rgb{17, 150, 100}));
  // Unreached pixels are left out of the normalisation entirely.
  s.params.NormalisationDivisor = 0;
  s.canvas.drawArrayOnImage(s.params);
  EXPECT_EQ(Shown(s.canvas, 1, 1), (Rgb{180, 150, 60}));
}

TEST(Render, NormalisingStretchesTheAccumulatedRange) {
  SmallCanvas s(4, true);
  s.params.InterpolateColors = true;
  s.canvas.SetPixel(0, 1, 1, 155);  // red lowered by 100
  s.canvas.SetFirstStep(1, 1, 0);
  s.canvas.SetFirstStep(2, 1, 0);  // reached, unchanged
  s.canvas.drawArrayOnImage(s.params);
  // hi = 255, lo = 255 - atan(1); k = 255 * sqrt(3) / atan(1) spreads the
  // lowered red far below 0.
  EXPECT_EQ(Shown(s.canvas, 1, 1), (Rgb{0, 255, 255}));
  EXPECT_EQ(Shown(s.canvas, 2, 1), (Rgb{255, 255, 255}));
  EXPECT_NEAR(s.canvas.Normal(0, 1, 1), 255 - std::atan(1.0), 1e-12);

  // On a dark background the darkest value becomes the background's.
  SmallCanvas dark(4, false);
  dark.params.InterpolateColors = true;
  dark.canvas.SetPixel(0, 1, 1, 1);  // N = atan(0.01)
  dark.canvas.SetFirstStep(1, 1, 0);
  dark.canvas.SetFirstStep(2, 1, 0);
  dark.canvas.drawArrayOnImage(dark.params);
  EXPECT_EQ(Shown(dark.canvas, 1, 1), (Rgb{255, 0, 0}));
  EXPECT_EQ(Shown(dark.canvas, 2, 1), (Rgb{0, 0, 0}));
}

TEST(Reset, KeepPictureOnlyRenders) {
  SmallCanvas s(4, false);
  s.canvas.SetPixel(0, 2, 2, 99);
  s.canvas.SetFirstStep(2, 2, 4);
  s.canvas.KeepPicture = true;
  s.canvas.MakePictureBlack(s.params, s.background);
  EXPECT_EQ(s.canvas.Pixel(0, 2, 2), 99);
  EXPECT_EQ(s.canvas.FirstStep(2, 2), 4);
  EXPECT_EQ(Shown(s.canvas, 2, 2).r, 99);
}

TEST(Reset, MultiplierModeBringsBackTheSavedCanvas) {
  SmallCanvas s(4, false);
  s.canvas.SetPixel(1, 0, 3, 120);
  s.canvas.drawArrayOnImage(s.params);
  s.canvas.CopyOutQuorlPicture();
  ASSERT_EQ(s.canvas.SavedCanvasRows().size(), 4u);
  s.canvas.SetPixel(1, 0, 3, 5);
  s.canvas.SetPixel(2, 1, 1, 5);
  s.canvas.MultiplierMode = true;
  s.canvas.MakePictureBlack(s.params, s.background);
  EXPECT_EQ(Buffered(s.canvas, 0, 3), (Rgb{0, 120, 0}));
  EXPECT_EQ(Buffered(s.canvas, 1, 1), (Rgb{0, 0, 0}));
  EXPECT_EQ(s.canvas.Background(1, 0, 3), 120);

  // A canvas that grew since the copy shows the background colour beyond it.
  s.params.ImageWidth = 6;
  s.params.BgMaxRed = 9;
  ASSERT_TRUE(s.canvas.SetImageDimensions(s.params));
  s.canvas.MakePictureBlack(s.params, s.background);
  EXPECT_EQ(Buffered(s.canvas, 0, 3), (Rgb{0, 120, 0}));
  EXPECT_EQ(Buffered(s.canvas, 5, 3), (Rgb{9, 0, 0}));

  s.canvas.MultiplierMode = false;
  s.canvas.MakePictureBlack(s.params, s.background);
  EXPECT_EQ(Buffered(s.canvas, 0, 3), (Rgb{9, 0, 0}));
}

}  // namespace
}  // namespace quorl
