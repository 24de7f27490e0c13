#include "canvas/dot_kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "canvas_test_support.h"
#include "canvas/pixel_math.h"
#include "curves/curve_plane.h"
#include "engine/step_arithmetic.h"

namespace quorl {
namespace {

using testing::SmallCanvas;

constexpr double kPi = 3.14159265358979323846;

// On black with NewColor + OneOrTwo at the origin the blue weight is exactly
// 1 for every sub-sample, so each sub-sample that lands adds 1 to blue.
struct CountingCanvas : SmallCanvas {
  CountingCanvas() : SmallCanvas(20, false) {
    params.NewColor = true;
    params.OneOrTwo = true;
    params.InterpolateColors = true;
  }
};

TEST(DotSize, SubSampleGridFollowsTheRoundedSize) {
  struct Case {
    double size;
    double samples;
  };
  // Halves round to even: 2.5 gives a 3 x 3 grid, 3.5 a 5 x 5 grid; size 0
  // has one sub-sample at d = 0 = R, which is cut off.
  for (const Case c : {Case{0, 0}, Case{1, 4}, Case{2, 9}, Case{2.5, 9}, Case{3, 16}, Case{3.5, 25}, Case{-1, 0}}) {
    CountingCanvas s;
    s.Prepare(c.size);
    s.Add(0, 0);
    EXPECT_DOUBLE_EQ(s.Sum(2), c.samples) << "dot size " << c.size;
  }
}

TEST(DotSize, SizeOneSpreadsOverTheFourPixelsAroundACorner) {
  CountingCanvas s;
  s.Prepare(1);
  s.Add(0, 0);  // the corner shared by columns 9, 10 and rows 9, 10
  for (int x : {9, 10})
    for (int y : {9, 10}) EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, x, y), 1) << x << "," << y;
  EXPECT_DOUBLE_EQ(s.Sum(2), 4);
}

TEST(DotSize, SoftDotWeightsFallOffFromTheCentre) {
  SmallCanvas s(20, false);
  s.params.InterpolateColors = true;
  s.Prepare(2);
  s.Add(s.X(10.5), s.Y(4.5));  // every sub-sample stays inside the pixel
  // Centre weight 1, four edge samples 0.35 pixel away, four corner samples
  // 0.35 * sqrt(2) away, all against a cut-off of 2 pixels.
  const double edge = (1 - 0.35 / 2) * (1 - 0.35 / 2);
  const double corner = (1 - 0.35 * std::sqrt(2.0) / 2) * (1 - 0.35 * std::sqrt(2.0) / 2);
  EXPECT_NEAR(s.canvas.Pixel(0, 10, 4), 1 + 4 * edge + 4 * corner, 1e-12);
  EXPECT_DOUBLE_EQ(s.Sum(0), s.canvas.Pixel(0, 10, 4));
}

TEST(DotSize, HugeDotsAreRefusedInsteadOfExhaustingMemory) {
  CountingCanvas s;
  s.Prepare(1e9);
  EXPECT_TRUE(s.kernel.TooLarge());
  s.Add(0, 0);
  EXPECT_EQ(s.Sum(2), 0);
}

TEST(DotPlacement, PointsOffTheCanvasAreSkippedNotClamped) {
  SmallCanvas s(20, false);
  s.Prepare(1);
  // 0.3 pixel outside: both sub-sample columns (or rows) lie outside, one
  // of them less than a pixel out, where truncation alone would give 0.
  s.Add(s.X(-0.3), s.Y(10));
  s.Add(s.X(10), s.Y(-0.3));
  s.Add(s.X(20.3), s.Y(10));
  s.Add(s.X(10), s.Y(20.3));
  EXPECT_EQ(s.Sum(0), 0);
  // Across the left edge only the two sub-samples inside count, each
  // 0.175 * sqrt(2) pixel from the point.
  s.Add(s.X(0.1), s.Y(10));
  const double w = (1 - 0.175 * std::sqrt(2.0)) * (1 - 0.175 * std::sqrt(2.0));
  EXPECT_NEAR(s.canvas.Pixel(0, 0, 9), w, 1e-12);
  EXPECT_NEAR(s.canvas.Pixel(0, 0, 10), w, 1e-12);
  EXPECT_NEAR(s.Sum(0), 2 * w, 1e-12);
}

TEST(DotPlacement, RowZeroIsTheBottomRowAndTheFirstStepIsKept) {
  SmallCanvas s(20, false);
  s.Prepare(2, 5);
  s.Add(s.X(3.5), s.Y(0.5));
  const double value = s.canvas.Pixel(2, 3, 0);
  EXPECT_GT(value, 1);
  EXPECT_DOUBLE_EQ(s.Sum(2), value);
  EXPECT_EQ(s.canvas.FirstStep(3, 0), 5);
  s.Prepare(2, 3);
  s.Add(s.X(3.5), s.Y(0.5));
  s.Prepare(2, 7);
  s.Add(s.X(3.5), s.Y(0.5));
  EXPECT_EQ(s.canvas.FirstStep(3, 0), 3);
  EXPECT_EQ(s.canvas.FirstStep(3, 1), Canvas::NeverPainted);
  s.canvas.drawArrayOnImage(s.params);
  // The bottom row of the bitmap, blue byte of column 3.
  EXPECT_EQ(s.canvas.Bitmap().Row(19)[3 * 3], static_cast<int>(std::nearbyint(s.canvas.Pixel(2, 3, 0))));
  EXPECT_GT(s.canvas.Bitmap().Row(19)[3 * 3], 0);
  EXPECT_EQ(s.canvas.Bitmap().Row(0)[3 * 3], 0);
}

// ---- Colour rules

TEST(ColourRules, DefaultsSubtractTheOtherChannelsFromWhiteAndStopAtZero) {
  SmallCanvas s(20, true);
  s.state.StepColor[0] = 255;  // the start colour: red
  s.state.StepColor[1] = s.state.StepColor[2] = 0;
  s.Prepare(2);
  s.Add(s.X(5.5), s.Y(5.5));
  EXPECT_EQ(s.canvas.Pixel(0, 5, 5), 255);
  EXPECT_LT(s.canvas.Pixel(1, 5, 5), 255);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(1, 5, 5), s.canvas.Pixel(2, 5, 5));
  for (int i = 0; i < 100; ++i) s.Add(s.X(5.5), s.Y(5.5));
  EXPECT_EQ(s.canvas.Pixel(0, 5, 5), 255);
  EXPECT_EQ(s.canvas.Pixel(1, 5, 5), 0);
  EXPECT_EQ(s.canvas.Pixel(2, 5, 5), 0);
}

TEST(ColourRules, AddingTakesTheStepColoursProportionsAndClampsAt255) {
  SmallCanvas s(20, false);
  s.state.StepColor[0] = 200;
  s.state.StepColor[1] = 100;
  s.state.StepColor[2] = 0;
  s.Prepare(2);
  s.Add(s.X(5.5), s.Y(5.5));
  EXPECT_GT(s.canvas.Pixel(0, 5, 5), 0);
  EXPECT_NEAR(s.canvas.Pixel(0, 5, 5), 2 * s.canvas.Pixel(1, 5, 5), 1e-12);
  EXPECT_EQ(s.canvas.Pixel(2, 5, 5), 0);
  const double green_per_point = s.canvas.Pixel(1, 5, 5);
  for (int i = 0; i < 100; ++i) s.Add(s.X(5.5), s.Y(5.5));
  EXPECT_EQ(s.canvas.Pixel(0, 5, 5), 255);
  ASSERT_LT(101 * green_per_point, 255);
  EXPECT_NEAR(s.canvas.Pixel(1, 5, 5), 101 * green_per_point, 1e-9);
}

TEST(ColourRules, LimitsCapAddingAndUnclampedAddingGrowsWithoutBound) {
  SmallCanvas limited(20, false);
  limited.params.UseColorsAsLimits = true;
  limited.state.StepColor[0] = 100;
  limited.state.StepColor[1] = 50;
  limited.state.StepColor[2] = 0;
  limited.Prepare(2);
  for (int i = 0; i < 200; ++i) limited.Add(limited.X(5.5), limited.Y(5.5));
  EXPECT_EQ(limited.canvas.Pixel(0, 5, 5), 100);
  EXPECT_EQ(limited.canvas.Pixel(1, 5, 5), 50);
  EXPECT_EQ(limited.canvas.Pixel(2, 5, 5), 0);

  SmallCanvas unclamped(20, false);
  unclamped.params.InterpolateColors = true;
  unclamped.Prepare(2);
  for (int i = 0; i < 200; ++i) unclamped.Add(unclamped.X(5.5), unclamped.Y(5.5));
  EXPECT_GT(unclamped.canvas.Pixel(0, 5, 5), 255);
}

TEST(ColourRules, LimitsWhenSubtractingLowerEachOtherChannelTwicePerSubSample) {
  // NewColor + OneOrTwo at the origin: weights (0.5, 0.5, 1); a size-1 dot
  // there puts exactly one sub-sample on each of four pixels.
  SmallCanvas s(20, true);
  s.params.NewColor = true;
  s.params.OneOrTwo = true;
  s.params.UseColorsAsLimits = true;
  s.state.StepColor[0] = s.state.StepColor[1] = s.state.StepColor[2] = 0;
  for (int c = 0; c < 3; ++c) s.state.StepAmount[c] = 10;
  s.Prepare(1);
  s.Add(0, 0);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 245);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(1, 10, 10), 245);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, 10, 10), 235);
  // A channel is lowered only while it lies more than A * w above the step
  // colour, so it settles within A * w above it and never below.
  s.state.StepColor[0] = 240;
  s.state.StepColor[1] = 100;
  s.state.StepColor[2] = 230;
  s.Prepare(1);
  for (int i = 0; i < 50; ++i) s.Add(0, 0);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 245);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(1, 10, 10), 105);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, 10, 10), 235);
}

TEST(ColourRules, SubtractingFollowsTheStepColour) {
  SmallCanvas s(20, true);
  s.params.InterpolateColors = true;
  s.state.StepColor[0] = 255;  // subtracts nothing from red
  s.state.StepColor[1] = 0;
  s.state.StepColor[2] = 0;
  s.Prepare(2);
  for (int i = 0; i < 200; ++i) s.Add(s.X(5.5), s.Y(5.5));
  EXPECT_EQ(s.canvas.Pixel(0, 5, 5), 255);
  EXPECT_LT(s.canvas.Pixel(1, 5, 5), 0);  // unclamped
}

TEST(ColourRules, BestGuessSubtractsOnlyFromPixelsBrighterThanTheAmount) {
  SmallCanvas s(20, false);
  s.params.BestGuess = true;
  s.state.StepColor[0] = 255;
  s.state.StepColor[1] = s.state.StepColor[2] = 0;
  for (int c = 0; c < 3; ++c) {
    s.canvas.SetPixel(c, 5, 5, 200);  // brighter than the amount 1 in every channel
    s.canvas.SetPixel(c, 8, 8, c == 2 ? 0.5 : 200);
  }
  s.Prepare(2);
  s.Add(s.X(5.5), s.Y(5.5));
  s.Add(s.X(8.5), s.Y(8.5));
  EXPECT_EQ(s.canvas.Pixel(0, 5, 5), 200);
  EXPECT_LT(s.canvas.Pixel(1, 5, 5), 200);
  EXPECT_GT(s.canvas.Pixel(0, 8, 8), 200);  // added: blue was not above the amount
  EXPECT_EQ(s.canvas.Pixel(1, 8, 8), 200);
}

TEST(ColourRules, NewColorCyclesWithStepPointAndAnimationPhase) {
  struct Case {
    int step;
    int index;
    double phase;
    double stepSlot;
    double r, g, b;
  };
  // Steps 1000, N 100: a = 2 pi * M23 * step / Steps + 2 phase,
  // b = 2 pi * k / N + phase.
  const Case cases[] = {
      {0, 25, 0, 1, 1, 2, 1},           // b = pi/2
      {250, 0, 0, 1, 1, 0, 1},          // a = pi/2
      {0, 0, kPi / 2, 1, 0, 1, 0},      // a = pi, b = pi/2, phase pi/2
      {500, 0, 0, 0.5, 1, 0, 1},        // the step-colour slot halves a
  };
  for (const Case& c : cases) {
    SmallCanvas s(20, false);
    s.params.NewColor = true;
    s.params.InterpolateColors = true;
    s.dot.AnimationPhase = c.phase;
    s.dot.StepColorSlotMultiplier = c.stepSlot;
    s.Prepare(1, c.step, 1000, 100);
    s.Add(0, 0, c.index);
    EXPECT_NEAR(s.canvas.Pixel(0, 10, 10), c.r, 1e-12) << c.step << " " << c.index;
    EXPECT_NEAR(s.canvas.Pixel(1, 10, 10), c.g, 1e-12) << c.step << " " << c.index;
    EXPECT_NEAR(s.canvas.Pixel(2, 10, 10), c.b, 1e-12) << c.step << " " << c.index;
  }
}

TEST(ColourRules, NewColorWithOneOrTwoReadsThePointsPosition) {
  SmallCanvas s(40, false);
  s.state.StepScale = 2;  // the plane runs from -2 to 2, a pixel is 0.1
  s.params.NewColor = true;
  s.params.OneOrTwo = true;
  s.params.InterpolateColors = true;
  s.Prepare(1);
  s.Add(1.5, 1.0);  // the corner of columns 34/35 and rows 29/30
  // sin(1.5) = 0.99749..., larger than cos(1) and cos(2.25); blue is not halved.
  EXPECT_NEAR(s.canvas.Pixel(0, 35, 30), 0.49874749330202722, 1e-12);
  EXPECT_NEAR(s.canvas.Pixel(1, 35, 30), 0.49874749330202722, 1e-12);
  EXPECT_NEAR(s.canvas.Pixel(2, 35, 30), 0.99749498660405445, 1e-12);
}

TEST(ColourRules, DimmerAndDepthScaleTheWeights) {
  CountingCanvas plain;
  CountingCanvas dimmed;
  dimmed.params.UseDimmer = true;
  dimmed.state.DimmerFactor = 0.5;
  plain.Prepare(2);
  dimmed.Prepare(2);
  plain.Add(0, 0, 1, 0.25);
  dimmed.Add(0, 0, 1, 0.25);
  EXPECT_DOUBLE_EQ(plain.Sum(2), 9 * 0.25);
  EXPECT_DOUBLE_EQ(dimmed.Sum(2), 9 * 0.125);
}

// ---- Source image

Picture24 Columns(const std::vector<int>& reds, int height = 1) {
  Picture24 p(static_cast<int>(reds.size()), height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < p.Width(); ++x) p.SetPixel(x, y, static_cast<std::uint8_t>(reds[x]), 0, 0);
  return p;
}

void Fill(Picture24& p, int red, int green, int blue) {
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      p.SetPixel(x, y, static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
}

TEST(SourceImage, StoreRepeatsTheFirstColumnAndRow) {
  Picture24 p(100, 50);
  for (int y = 0; y < 50; ++y) p.SetPixel(0, y, 9, 8, static_cast<std::uint8_t>(y));
  SourceStore store;
  store.SetPicture(p);
  EXPECT_EQ(store.SourceWidth, 100);
  EXPECT_EQ(store.SourceHeight, 50);
  ASSERT_EQ(store.SourceRows.size(), 51u);
  EXPECT_EQ(store.Bitmap.Width(), 101);
  EXPECT_EQ(store.SourceRows[0], store.Bitmap.Row(49));  // bottom row first
  EXPECT_EQ(store.SourceRows[50], store.SourceRows[0]);
  for (int y = 0; y < 50; ++y)
    for (int b = 0; b < 3; ++b) EXPECT_EQ(store.Bitmap.Row(y)[300 + b], store.Bitmap.Row(y)[b]);
  store.SetPicture(Picture24());
  EXPECT_FALSE(store.Loaded());
  EXPECT_EQ(store.SourceWidth, -2);
}

TEST(SourceImage, SamplingLeftOfTheImageBlendsTheLastAndFirstColumns) {
  SmallCanvas s(20, false);
  s.params.UseSourceImage = true;
  s.params.InterpolateColors = true;
  s.params.SourceImageStartOffsetPerStep = s.params.SourceImageEndOffsetPerStep = 0;
  s.source.SetPicture(Columns({0, 10, 10, 10, 10, 10, 10, 10, 10, 200}));
  s.Prepare(1, 0, 1000, 100);
  s.Add(0, 0, 5);  // u = (0 - 5/100) * 10 = -0.5
  EXPECT_NEAR(s.canvas.Pixel(0, 10, 10), 100.0 / 256, 1e-12);
}

TEST(SourceImage, DefaultsReadRightToLeftAcrossTheShapeAndUpOverTheSteps) {
  // Red encodes the column, green the row (row 0 at the bottom).
  Picture24 p(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) p.SetPixel(x, 3 - y, static_cast<std::uint8_t>(10 * x), static_cast<std::uint8_t>(10 * y), 0);
  SmallCanvas s(20, false);
  s.params.UseSourceImage = true;
  s.params.InterpolateColors = true;
  s.source.SetPicture(p);
  s.Prepare(1, 1, 4, 4);
  s.Add(0, 0, 1);  // column (1 - 1/4) * 4 = 3, row (1/4) * 4 = 1
  EXPECT_NEAR(s.canvas.Pixel(0, 10, 10), 30.0 / 256, 1e-12);
  EXPECT_NEAR(s.canvas.Pixel(1, 10, 10), 10.0 / 256, 1e-12);
  // Not loaded: the sampler is off whatever UseSourceImage says.
  s.source.Clear();
  s.Prepare(1, 1, 4, 4);
  s.Add(s.X(3), s.Y(3), 1);
  // Soft dot: one sub-sample 0.175 * sqrt(2) pixel from the point, cut-off 1 pixel.
  const double d = 0.175 * std::sqrt(2.0);
  EXPECT_NEAR(s.canvas.Pixel(0, 3, 3), (1 - d) * (1 - d), 1e-12);
}

TEST(SourceImage, OpaquePixelsTakeHalfThenFullColourAndFreezeAfterTheThreshold) {
  SmallCanvas s(20, false);
  s.params.UseSourceImage = true;
  s.params.UseOpaquePixels = true;
  Picture24 p(2, 2);
  Fill(p, 200, 100, 50);
  s.source.SetPicture(p);
  s.Prepare(1, 100, 1000, 100);
  s.Add(0, 0, 100);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 100);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(1, 10, 10), 50);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, 10, 10), 25);
  s.Add(0, 0, 100);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 200);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, 10, 10), 50);

  // First reached at step 100: still open at step 699, frozen from 700 on
  // (Steps 1000, threshold 0.6).
  Fill(p, 20, 20, 20);
  s.source.SetPicture(p);
  s.Prepare(1, 699, 1000, 100);
  s.Add(0, 0, 100);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 20);
  Fill(p, 90, 90, 90);
  s.source.SetPicture(p);
  s.Prepare(1, 700, 1000, 100);
  s.Add(0, 0, 100);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 20);
  EXPECT_EQ(s.canvas.FirstStep(10, 10), 100);
}

// ---- Applying a step band by band

struct Mode {
  const char* name;
  bool white, limits, unclamped, newColor, source, opaque;
};

TEST(Bands, ApplyingBandByBandEqualsApplyingInOneGo) {
  const Mode modes[] = {
      {"soft dot on white", true, false, false, false, false, false},
      {"limits", true, true, false, false, false, false},
      {"unclamped add", false, false, true, false, false, false},
      {"new colour", false, false, false, true, false, false},
      {"opaque source", false, false, false, false, true, true},
  };
  Picture24 picture(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture.SetPixel(x, y, static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(70 * y), 99);

  for (const Mode& m : modes) {
    SmallCanvas whole(32, m.white), banded(32, m.white);
    for (SmallCanvas* s : {&whole, &banded}) {
      s->params.UseColorsAsLimits = m.limits;
      s->params.InterpolateColors = m.unclamped;
      s->params.NewColor = m.newColor;
      s->params.UseSourceImage = m.source;
      s->params.UseOpaquePixels = m.opaque;
      s->state.StepColor[0] = 30;
      s->state.StepColor[1] = 160;
      s->state.StepColor[2] = 250;
      s->source.SetPicture(picture);
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-1.1, 1.1);
    for (int step = 0; step < 4; ++step) {
      std::vector<DotPoint> points;
      for (int k = 1; k <= 300; ++k) points.push_back({coordinate(random), coordinate(random), k, 1});
      whole.Prepare(3, step, 4, 300);
      banded.Prepare(3, step, 4, 300);
      for (const DotPoint& p : points) addColorToPixels(whole.canvas, whole.kernel, p);
      const int bands[] = {-5, 7, 8, 19, 40};
      for (int b = 0; b + 1 < 5; ++b)
        for (const DotPoint& p : points) addColorToPixels(banded.canvas, banded.kernel, p, bands[b], bands[b + 1]);
    }
    bool same = true;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        same = same && whole.canvas.FirstStep(x, y) == banded.canvas.FirstStep(x, y);
        for (int c = 0; c < 3; ++c) {
          const double a = whole.canvas.Pixel(c, x, y), b = banded.canvas.Pixel(c, x, y);
          same = same && std::memcmp(&a, &b, sizeof a) == 0;
        }
      }
    EXPECT_TRUE(same) << m.name;
    EXPECT_NE(whole.Sum(1), 32 * 32 * (m.white ? 255.0 : 0.0)) << m.name << ": the points changed nothing";
  }
}

// ---- The fast paths against the rules written out plainly

// One soft-dot point, sub-sample by sub-sample, straight from the rules:
// every column and row mapped anew, every weight and term worked out anew.
void PlainSoftDot(SmallCanvas& s, double size, int step, double x, double y, double z) {
  const ParameterSet& p = s.params;
  const double scale = s.state.StepScale;
  const int W = s.canvas.CanvasWidth(), H = s.canvas.CanvasHeight();
  const double pw = 2 * scale / W, ph = 2 * scale / H;
  const double R = size * (pw + ph) / 2;
  const double n = RoundHalfEven(size);
  const double* A = s.state.StepAmount;
  const double* L = s.state.StepColor;
  for (int i = 0; i <= n; ++i) {
    for (int j = 0; j <= n; ++j) {
      const double dx = (i - n / 2) * pw * 0.35, dy = (j - n / 2) * pw * 0.35;
      const double d = getDistanceOfPoint(dx, dy);
      if (d >= R) continue;
      const int px = getPixelFromReal(Axis::X, x + dx, scale, W, H);
      const int py = getPixelFromReal(Axis::Y, y + dy, scale, W, H);
      if (!s.canvas.pixelOnCanvas(px, py)) continue;
      double weight = (1 - d / R) * (1 - d / R);
      if (p.UseDimmer) weight = weight * s.state.DimmerFactor;
      const double w = weight * z;
      double P[3];
      for (int c = 0; c < 3; ++c) P[c] = s.canvas.Pixel(c, px, py);
      const bool subtract = p.White || (p.BestGuess && P[0] > A[0] && P[1] > A[1] && P[2] > A[2]);
      for (int c = 0; c < 3; ++c) {
        if (subtract && p.UseColorsAsLimits) {
          for (int k : {(c + 1) % 3, (c + 2) % 3})
            if (A[k] * w + L[k] < P[k]) P[k] = Larger(P[k] - A[k] * w, L[k]);
        } else if (subtract) {
          P[c] = P[c] + A[c] * w * (L[c] - 255) / 255;
          if (!p.InterpolateColors) P[c] = ClampToChannel(P[c]);
        } else if (p.UseColorsAsLimits) {
          P[c] = Smaller(P[c] + A[c] * w, L[c]);
        } else {
          P[c] = P[c] + A[c] * w * L[c] / 255;
          if (!p.InterpolateColors) P[c] = ClampToChannel(P[c]);
        }
      }
      for (int c = 0; c < 3; ++c) s.canvas.SetPixel(c, px, py, P[c]);
      if (step < s.canvas.FirstStep(px, py)) s.canvas.SetFirstStep(px, py, step);
    }
  }
}

// The blocks of a batch, last first, as threads may store them.
void StoreInBlocks(DotBatch& batch, const DotKernel& kernel, const std::vector<DotPoint>& dots) {
  const int count = static_cast<int>(dots.size());
  for (int first = (count - 1) / DotBatch::kBlock * DotBatch::kBlock; first >= 0; first -= DotBatch::kBlock) {
    batch.Store(kernel, first, dots.data() + first, std::min(DotBatch::kBlock, count - first));
  }
}

bool SameGrids(SmallCanvas& a, SmallCanvas& b) {
  for (int y = 0; y < a.canvas.CanvasHeight(); ++y)
    for (int x = 0; x < a.canvas.CanvasWidth(); ++x) {
      if (a.canvas.FirstStep(x, y) != b.canvas.FirstStep(x, y)) return false;
      for (int c = 0; c < 3; ++c) {
        const double u = a.canvas.Pixel(c, x, y), v = b.canvas.Pixel(c, x, y);
        if (std::memcmp(&u, &v, sizeof u) != 0) return false;
      }
    }
  return true;
}

// Point by point and in batches shared by three threads' rows, the soft dot
// must give exactly the plain rules: with depth factor 1 (terms worked out
// once per step), with other depth factors, and with a dot too wide for the
// shared terms; on a canvas that is not square.
TEST(FastPaths, SoftDotsMatchThePlainRulesToTheBit) {
  struct SoftMode {
    const char* name;
    bool white, best_guess, limits, unclamped, dimmer;
  };
  const SoftMode modes[] = {
      {"subtract, clamped", true, false, false, false, false},
      {"subtract, limits", true, false, true, false, true},
      {"subtract, unclamped", true, false, false, true, false},
      {"add, clamped", false, false, false, false, true},
      {"add, limits", false, false, true, false, false},
      {"add, unclamped", false, false, false, true, false},
      {"best guess, clamped", false, true, false, false, false},
      {"best guess, limits", false, true, true, false, false},
  };
  const auto make = [](const SoftMode& m) {
    auto s = std::make_unique<SmallCanvas>(8, m.white);
    s->params.ImageWidth = 40;
    s->params.ImageHeight = 30;
    s->params.BestGuess = m.best_guess;
    s->params.UseColorsAsLimits = m.limits;
    s->params.InterpolateColors = m.unclamped;
    s->params.UseDimmer = m.dimmer;
    s->state.DimmerFactor = 0.8;
    s->state.StepColor[0] = 30;
    s->state.StepColor[1] = 160;
    s->state.StepColor[2] = 250;
    for (double& a : s->state.StepAmount) a = 0.9;
    s->canvas.SetImageDimensions(s->params);
    s->canvas.MakePictureBlack(s->params, s->background);
    if (!m.white) {  // mid-grey, so best guess meets both sides
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
          for (int c = 0; c < 3; ++c) s->canvas.SetPixel(c, x, y, x < 20 ? 0.5 : 120);
    }
    return s;
  };
  for (const SoftMode& m : modes) {
    for (const double size : {1.0, 3.5, 5.0, 70.0}) {
      auto plain = make(m), single = make(m), banded = make(m);
      std::mt19937 random(11);
      std::uniform_real_distribution<double> across(-1.45, 1.45), up(-1.1, 1.1), depth(0, 1);
      const int points = size > 10 ? 12 : 400;
      DotBatch batch;
      for (int step = 0; step < 3; ++step) {
        std::vector<DotPoint> dots;
        for (int k = 1; k <= points; ++k) {
          // Mostly depth 1, the shared terms; some other depths between.
          const double z = k % 3 == 0 ? depth(random) : 1.0;
          dots.push_back({across(random), up(random), k, z});
        }
        for (SmallCanvas* s : {single.get(), banded.get()}) s->Prepare(size, step, 3, points);
        for (const DotPoint& d : dots) {
          PlainSoftDot(*plain, size, step, d.x, d.y, d.ZFactor);
          addColorToPixels(single->canvas, single->kernel, d);
        }
        batch.Reset(banded->kernel, static_cast<int>(dots.size()), 3);
        StoreInBlocks(batch, banded->kernel, dots);
        for (int part : {2, 0, 1}) batch.Apply(banded->canvas, banded->kernel, static_cast<int>(dots.size()), part);
      }
      EXPECT_NE(plain->Sum(1), make(m)->Sum(1)) << m.name << ", size " << size << ": nothing drawn";
      EXPECT_TRUE(SameGrids(*plain, *single)) << m.name << ", size " << size << ": point by point";
      EXPECT_TRUE(SameGrids(*plain, *banded)) << m.name << ", size " << size << ": in batches";
    }
  }
}

// A canvas wider than 16-bit columns can hold keeps full columns in its
// batches (nothing the program makes, but nothing to get wrong either).
TEST(FastPaths, BatchesOnACanvasWiderThan65534Pixels) {
  const auto make = [] {
    auto s = std::make_unique<SmallCanvas>(8, false);
    s->params.ImageWidth = 70000;
    s->params.ImageHeight = 4;
    s->canvas.SetImageDimensions(s->params);
    s->canvas.MakePictureBlack(s->params, s->background);
    return s;
  };
  auto plain = make(), banded = make();
  // x runs from -17500 to 17500 on this canvas; the last points lie beyond
  // column 65535.
  std::vector<DotPoint> dots;
  for (int k = 0; k < 40; ++k) dots.push_back({-17499.0 + 875.0 * k, -0.3 + 0.02 * k, k + 1, 1});
  dots.push_back({17499.9, 0.1, 41, 1});
  plain->Prepare(3, 0, 1, 41);
  banded->Prepare(3, 0, 1, 41);
  for (const DotPoint& d : dots) PlainSoftDot(*plain, 3, 0, d.x, d.y, d.ZFactor);
  DotBatch batch;
  batch.Reset(banded->kernel, 41, 2);
  StoreInBlocks(batch, banded->kernel, dots);
  for (int part : {0, 1}) batch.Apply(banded->canvas, banded->kernel, 41, part);
  EXPECT_GT(plain->canvas.Pixel(0, 69999, 2) + plain->canvas.Pixel(0, 69999, 1), 0);
  EXPECT_TRUE(SameGrids(*plain, *banded));
}

// The rules that weigh a whole point (new colour, source image, opaque
// source) in batches give what point-by-point colouring gives, and a batch
// colours only its first `count` points.
TEST(FastPaths, BatchesOfWholePointWeightsMatchPointByPoint) {
  const Mode modes[] = {
      {"new colour", false, false, false, true, false, false},
      {"source", true, false, false, false, true, false},
      {"opaque source", false, false, false, false, true, true},
  };
  Picture24 picture(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture.SetPixel(x, y, static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(70 * y), 99);
  for (const Mode& m : modes) {
    SmallCanvas single(32, m.white), banded(32, m.white);
    for (SmallCanvas* s : {&single, &banded}) {
      s->params.NewColor = m.newColor;
      s->params.UseSourceImage = m.source;
      s->params.UseOpaquePixels = m.opaque;
      s->state.StepColor[1] = 160;
      s->source.SetPicture(picture);
    }
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(-1.1, 1.1), depth(0.2, 1);
    DotBatch batch;
    for (int step = 0; step < 4; ++step) {
      std::vector<DotPoint> dots;
      for (int k = 1; k <= 300; ++k) dots.push_back({coordinate(random), coordinate(random), k, depth(random)});
      single.Prepare(3, step, 4, 300);
      banded.Prepare(3, step, 4, 300);
      // Only the first 250 count; the rest are stored but cut off.
      for (int k = 0; k < 250; ++k) addColorToPixels(single.canvas, single.kernel, dots[static_cast<size_t>(k)]);
      batch.Reset(banded.kernel, 300, 2);
      StoreInBlocks(batch, banded.kernel, dots);
      for (int part : {1, 0}) batch.Apply(banded.canvas, banded.kernel, 250, part);
    }
    EXPECT_TRUE(SameGrids(single, banded)) << m.name;
    EXPECT_NE(single.Sum(1), 32 * 32 * (m.white ? 255.0 : 0.0)) << m.name << ": the points changed nothing";
  }
}

}  // namespace
}  // namespace quorl
