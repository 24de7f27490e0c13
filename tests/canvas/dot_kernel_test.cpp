#include "canvas/dot_kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/canvas_test_support.h"

namespace quorl {
namespace {

using testing::SamePixels;
using testing::SmallCanvas;

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
  for (const Case c :
       {Case{0, 0}, Case{1, 4}, Case{2, 9}, Case{2.5, 9}, Case{3, 16}, Case{3.5, 25}, Case{-1, 0}}) {
    CountingCanvas s;
    s.Prepare(c.size);
    s.Add(0, 0);
    EXPECT_DOUBLE_EQ(s.Sum(2), c.samples) << "dot size " << c.size;
  }
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
  EXPECT_EQ(s.canvas.FirstStep(3, 1), Canvas::kNeverPainted);
  s.canvas.DrawGridsOnPicture(s.params);
  // The bottom row of the bitmap, blue byte of column 3.
  EXPECT_EQ(s.canvas.Bitmap().Row(19)[3 * 3], static_cast<int>(std::nearbyint(s.canvas.Pixel(2, 3, 0))));
  EXPECT_GT(s.canvas.Bitmap().Row(19)[3 * 3], 0);
  EXPECT_EQ(s.canvas.Bitmap().Row(0)[3 * 3], 0);
}

// ---- Colour rules

TEST(ColourRules, DefaultsSubtractTheOtherChannelsFromWhiteAndStopAtZero) {
  SmallCanvas s(20, true);
  s.dot.StepColor[0] = 255;  // the start colour: red
  s.dot.StepColor[1] = s.dot.StepColor[2] = 0;
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
  s.dot.StepColor[0] = 200;
  s.dot.StepColor[1] = 100;
  s.dot.StepColor[2] = 0;
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
  limited.dot.StepColor[0] = 100;
  limited.dot.StepColor[1] = 50;
  limited.dot.StepColor[2] = 0;
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
  s.dot.StepColor[0] = s.dot.StepColor[1] = s.dot.StepColor[2] = 0;
  for (int c = 0; c < 3; ++c) s.dot.StepAmount[c] = 10;
  s.Prepare(1);
  s.Add(0, 0);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 245);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(1, 10, 10), 245);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, 10, 10), 235);
  // A channel is lowered only while it lies more than A * w above the step
  // colour, so it settles within A * w above it and never below.
  s.dot.StepColor[0] = 240;
  s.dot.StepColor[1] = 100;
  s.dot.StepColor[2] = 230;
  s.Prepare(1);
  for (int i = 0; i < 50; ++i) s.Add(0, 0);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(0, 10, 10), 245);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(1, 10, 10), 105);
  EXPECT_DOUBLE_EQ(s.canvas.Pixel(2, 10, 10), 235);
}

TEST(ColourRules, BestGuessSubtractsOnlyFromPixelsBrighterThanTheAmount) {
  SmallCanvas s(20, false);
  s.params.BestGuess = true;
  s.dot.StepColor[0] = 255;
  s.dot.StepColor[1] = s.dot.StepColor[2] = 0;
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

TEST(ColourRules, NewColorWithOneOrTwoReadsThePointsPosition) {
  SmallCanvas s(40, false);
  s.dot.StepScale = 2;  // the plane runs from -2 to 2, a pixel is 0.1
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
      p.SetPixel(x, y, static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                 static_cast<std::uint8_t>(blue));
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
    for (int x = 0; x < 5; ++x)
      picture.SetPixel(x, y, static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(70 * y), 99);

  for (const Mode& m : modes) {
    SmallCanvas whole(32, m.white), banded(32, m.white);
    for (SmallCanvas* s : {&whole, &banded}) {
      s->params.UseColorsAsLimits = m.limits;
      s->params.InterpolateColors = m.unclamped;
      s->params.NewColor = m.newColor;
      s->params.UseSourceImage = m.source;
      s->params.UseOpaquePixels = m.opaque;
      s->dot.StepColor[0] = 30;
      s->dot.StepColor[1] = 160;
      s->dot.StepColor[2] = 250;
      s->source.SetPicture(picture);
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-1.1, 1.1);
    for (int step = 0; step < 4; ++step) {
      std::vector<DotPoint> points;
      for (int k = 1; k <= 300; ++k) points.push_back({coordinate(random), coordinate(random), k, 1});
      whole.Prepare(3, step, 4, 300);
      banded.Prepare(3, step, 4, 300);
      for (const DotPoint& p : points) AddColorToPixels(whole.canvas, whole.kernel, p);
      const int bands[] = {-5, 7, 8, 19, 40};
      for (int b = 0; b + 1 < 5; ++b)
        for (const DotPoint& p : points)
          AddColorToPixels(banded.canvas, banded.kernel, p, bands[b], bands[b + 1]);
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

// Colours `points` through a batch: stored block by block, then applied
// part by part, the parts in reverse order to show that their order does
// not matter. Returns the positions counted as too far off the canvas.
long long ApplyInBatch(SmallCanvas& s, const std::vector<DotPoint>& points, int parts) {
  DotBatch batch;
  const int count = static_cast<int>(points.size());
  batch.Reset(s.kernel, count, parts);
  for (int first = 0; first < count; first += DotBatch::kBlock)
    batch.Store(s.kernel, first, points.data() + first, std::min(DotBatch::kBlock, count - first));
  for (int part = parts - 1; part >= 0; --part) batch.Apply(s.canvas, s.kernel, count, part);
  return batch.TakeFaults();
}

TEST(Batches, ColouringInBatchesEqualsThePlainRulePointByPoint) {
  const Mode modes[] = {
      {"soft dot on white", true, false, false, false, false, false},
      {"limits", true, true, false, false, false, false},
      {"unclamped add", false, false, true, false, false, false},
      {"new colour", false, false, false, true, false, false},
      {"opaque source", false, false, false, false, true, true},
  };
  Picture24 picture(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      picture.SetPixel(x, y, static_cast<std::uint8_t>(60 * x), static_cast<std::uint8_t>(50 * y), 200);
  // A canvas whose columns fit 16 bits, and one too wide for them.
  struct Size {
    int width, height;
  };
  for (const Size size : {Size{40, 40}, Size{65600, 6}}) {
    for (const Mode& m : modes) {
      SCOPED_TRACE(std::string(m.name) + ", " + std::to_string(size.width) + " wide");
      SmallCanvas plain(1, m.white), batched(1, m.white);
      for (SmallCanvas* s : {&plain, &batched}) {
        s->params.ImageWidth = size.width;
        s->params.ImageHeight = size.height;
        ASSERT_TRUE(s->canvas.SetImageDimensions(s->params));
        s->canvas.MakePictureBlack(s->params, s->background);
        s->params.UseColorsAsLimits = m.limits;
        s->params.InterpolateColors = m.unclamped;
        s->params.NewColor = m.newColor;
        s->params.UseSourceImage = m.source;
        s->params.UseOpaquePixels = m.opaque;
        s->dot.StepColor[0] = 30;
        s->dot.StepColor[1] = 160;
        s->dot.StepColor[2] = 250;
        s->source.SetPicture(picture);
      }
      // The plane is 2 high and width / height * 2 wide; points fall on it,
      // a little beyond its edges, and a few far beyond any pixel index.
      const double half_width = static_cast<double>(size.width) / size.height;
      std::mt19937 random(11);
      std::uniform_real_distribution<double> across(-1.05 * half_width, 1.05 * half_width), up(-1.1, 1.1);
      long long plain_faults = 0, batch_faults = 0;
      for (int step = 0; step < 3; ++step) {
        std::vector<DotPoint> points;
        for (int k = 1; k <= 600; ++k) points.push_back({across(random), up(random), k, 0.5 + k % 3 * 0.25});
        points[17].x = 1e300;
        points[400].y = std::numeric_limits<double>::quiet_NaN();
        plain.Prepare(2.5, step, 3, 600);
        batched.Prepare(2.5, step, 3, 600);
        PixelRangeFaults faults;
        for (const DotPoint& p : points) AddColorToPixels(plain.canvas, plain.kernel, p, 0, INT_MAX, &faults);
        plain_faults += faults.Count;
        // One part (the points kept in order, as made) and several.
        batch_faults += ApplyInBatch(batched, points, step == 0 ? 1 : step + 2);
      }
      EXPECT_TRUE(SamePixels(plain.canvas, batched.canvas));
      EXPECT_GT(plain_faults, 0);
      EXPECT_EQ(batch_faults, plain_faults);
      EXPECT_NE(plain.Sum(1), m.white ? 255.0 * size.width * size.height : 0.0)
          << "the points changed nothing";
    }
  }
}

}  // namespace
}  // namespace quorl
