// The vector path of the dot kernel against the scalar one: grids placed
// for awkward coordinates, and every colour rule with random dots of random
// sizes, partly off the canvas, on pixels that hold the awkward values a
// canvas can hold (the background level, both zeros, values past the
// channel range, infinities, NaN). The two must leave the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/plane_conversion.h"
#include "canvas/dot_kernel.h"
#include "support/canvas_test_support.h"

namespace quorl {
namespace {

using testing::SmallCanvas;

struct Rule {
  bool white, bestGuess, limits, unclamped, newColor, oneOrTwo, source, opaque, dimmer;
};

std::string Describe(const Rule& r) {
  std::string s;
  const auto flag = [&s](bool on, const char* name) {
    if (on) s += std::string(s.empty() ? "" : "+") + name;
  };
  flag(r.white, "white");
  flag(r.bestGuess, "best guess");
  flag(r.limits, "limits");
  flag(r.unclamped, "unclamped");
  flag(r.newColor, "new colour");
  flag(r.oneOrTwo, "from position");
  flag(r.source, "source");
  flag(r.opaque, "opaque");
  flag(r.dimmer, "dimmer");
  return s.empty() ? "plain add" : s;
}

// Every combination the kernel tells apart: the weight rule (soft dot,
// new colour by cycle or by position, source image), how weights combine
// (limits, unclamped, clamped, opaque), and the subtract choice (white,
// best guess, never).
std::vector<Rule> AllRules() {
  std::vector<Rule> rules;
  for (int weight = 0; weight < 4; ++weight)
    for (int combine = 0; combine < 3; ++combine)
      for (int subtract = 0; subtract < 3; ++subtract)
        for (bool dimmer : {false, true}) {
          Rule r{};
          r.newColor = weight == 1 || weight == 2;
          r.oneOrTwo = weight == 2;
          r.source = weight == 3;
          r.limits = combine == 0;
          r.unclamped = combine == 1;
          r.white = subtract == 0;
          r.bestGuess = subtract == 1;
          r.dimmer = dimmer;
          rules.push_back(r);
        }
  for (bool white : {false, true})
    rules.push_back({white, false, false, false, false, false, true, true, false});
  return rules;
}

struct Pair {
  Pair(const Rule& r, int size) : scalar(size, r.white), vector(size, r.white) {
    Picture24 picture(7, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        picture.SetPixel(x, y, static_cast<std::uint8_t>(37 * x), static_cast<std::uint8_t>(61 * y),
                         static_cast<std::uint8_t>(255 - 20 * x));
    for (SmallCanvas* s : {&scalar, &vector}) {
      s->params.BestGuess = r.bestGuess;
      s->params.UseColorsAsLimits = r.limits;
      s->params.InterpolateColors = r.unclamped;
      s->params.NewColor = r.newColor;
      s->params.OneOrTwo = r.oneOrTwo;
      s->params.UseSourceImage = r.source;
      s->params.UseOpaquePixels = r.opaque;
      s->params.UseDimmer = r.dimmer;
      s->source.SetPicture(picture);
    }
    scalar.kernel.UseScalarKernel(true);
  }

  // The same awkward start on both canvases.
  void Seed(std::mt19937& random) {
    const double level = scalar.params.White ? 255 : 0;
    const double odd[] = {
        level, level,  level, 0.0,    -0.0,     255,       254.75,
        -3.5,  300.25, 1e300, -1e300, INFINITY, -INFINITY, std::numeric_limits<double>::quiet_NaN()};
    std::uniform_int_distribution<int> pick(0, 40);
    std::uniform_real_distribution<double> any(-20, 280);
    std::uniform_int_distribution<int> step(0, 60);
    const int size = scalar.canvas.CanvasWidth();
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const int first = pick(random) < 10 ? Canvas::kNeverPainted : step(random);
        scalar.canvas.SetFirstStep(x, y, first);
        vector.canvas.SetFirstStep(x, y, first);
        // Mostly whole pixels at one value, sometimes channels apart.
        const int kind = pick(random);
        for (int c = 0; c < 3; ++c) {
          const int k = kind < 14 ? kind : pick(random);
          const double v = k < 14 ? odd[k] : any(random);
          scalar.canvas.SetPixel(c, x, y, v);
          vector.canvas.SetPixel(c, x, y, v);
        }
      }
  }

  void Prepare(double dotSize, int step, int steps, int count, const double colour[3], double dim,
               double amount = 1) {
    for (SmallCanvas* s : {&scalar, &vector}) {
      for (int c = 0; c < 3; ++c) {
        s->dot.StepColor[c] = colour[c];
        // Best guess compares each channel with the amount.
        s->dot.StepAmount[c] = amount * (1 + c);
      }
      s->dot.DimmerFactor = dim;
      s->Prepare(dotSize, step, steps, count);
    }
  }

  // The vector canvas's channels.
  std::vector<double> Snapshot() const {
    std::vector<double> cells;
    const int size = vector.canvas.CanvasWidth();
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        for (int c = 0; c < 3; ++c) cells.push_back(vector.canvas.Pixel(c, x, y));
    return cells;
  }

  // The first pixel (x, y, channel) whose bytes differ, or "".
  std::string FirstDifference() const {
    const int size = scalar.canvas.CanvasWidth();
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        if (scalar.canvas.FirstStep(x, y) != vector.canvas.FirstStep(x, y))
          return "first step at " + std::to_string(x) + "," + std::to_string(y);
        for (int c = 0; c < 3; ++c) {
          const double a = scalar.canvas.Pixel(c, x, y), b = vector.canvas.Pixel(c, x, y);
          if (std::memcmp(&a, &b, sizeof a) != 0)
            return "pixel " + std::to_string(x) + "," + std::to_string(y) + " channel " + std::to_string(c) +
                   ": " + std::to_string(a) + " against " + std::to_string(b);
        }
      }
    return "";
  }

  SmallCanvas scalar, vector;
};

TEST(VectorKernel, PlacesGridsAsThePlainConversionDoes) {
  if (!VectorKernelAvailable()) GTEST_SKIP() << "this CPU has no vector kernel; only the scalar one runs";
  std::mt19937 random(5);
  std::uniform_real_distribution<double> near(-3, 3);
  std::uniform_real_distribution<double> exponent(-30, 310);
  const double odd[] = {0.0,
                        -0.0,
                        -1.0,
                        1.0,
                        1e9,
                        -1e9,
                        1e300,
                        -1e300,
                        INFINITY,
                        -INFINITY,
                        std::numeric_limits<double>::quiet_NaN(),
                        2147483647.0 / 400,
                        2147483648.0 / 400};
  for (int trial = 0; trial < 3000; ++trial) {
    const int width = 1 + static_cast<int>(near(random) * near(random) * 100 + 400);
    const int height = 1 + static_cast<int>(std::fabs(near(random)) * 300);
    const double scale = trial % 7 == 0 ? -near(random) : std::fabs(near(random)) + 1e-3;
    const int side = 1 + trial % 13;
    std::vector<double> offsets(static_cast<std::size_t>((side + 3) / 4 * 4), 0.0);
    for (int i = 0; i < side; ++i)
      offsets[static_cast<std::size_t>(i)] = (i - side / 2.0) * near(random) * 0.01;
    GridMapping grid;
    grid.offsets = offsets.data();
    grid.side = side;
    grid.shift_x = scale * width / height;
    grid.shift_y = scale;
    grid.height = height;
    grid.two_scale = 2 * scale;
    const auto coordinate = [&] {
      const int kind = trial % 5;
      if (kind == 0) return odd[static_cast<std::size_t>(random() % 13)];
      if (kind == 1) return (random() % 2 ? 1 : -1) * std::pow(10.0, exponent(random) / 10);
      return near(random);
    };
    const double x = coordinate(), y = coordinate();
    int cols[DotKernel::kGridRoom], rows[DotKernel::kGridRoom];
    MapGridVector(grid, x, y, cols, rows);
    for (int i = 0; i < side; ++i) {
      const double offset = offsets[static_cast<std::size_t>(i)];
      ASSERT_EQ(cols[i], GetPixelFromReal(Axis::X, x + offset, scale, width, height)) << x << " " << i;
      ASSERT_EQ(rows[i], GetPixelFromReal(Axis::Y, y + offset, scale, width, height)) << y << " " << i;
    }
  }
}

TEST(VectorKernel, GivesTheScalarKernelsBytesForEveryRule) {
  if (!VectorKernelAvailable()) GTEST_SKIP() << "this CPU has no vector kernel; only the scalar one runs";
  std::mt19937 random(2024);
  std::uniform_real_distribution<double> coordinate(-1.15, 1.15);
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_real_distribution<double> colour(-40, 300);
  const double sizes[] = {0.6, 1, 2, 3.5, 4, 7, 12};
  for (const Rule& rule : AllRules()) {
    Pair pair(rule, 24);
    pair.Seed(random);
    int changed = 0;
    for (int step = 0; step < 6; ++step) {
      const std::vector<double> before = pair.Snapshot();
      const double c[3] = {colour(random), colour(random), colour(random)};
      pair.Prepare(sizes[(step + static_cast<int>(unit(random) * 7)) % 7], 10 * step, 60, 250, c,
                   0.25 + unit(random), step % 2 ? 1 : 90 * unit(random));
      for (int k = 1; k <= 250; ++k) {
        // Depth factor 1 (the kernel's table of terms) most of the time.
        const double z = k % 3 == 0 ? unit(random) : 1.0;
        const DotPoint point{coordinate(random), coordinate(random), k, z};
        AddColorToPixels(pair.scalar.canvas, pair.scalar.kernel, point);
        AddColorToPixels(pair.vector.canvas, pair.vector.kernel, point);
      }
      const std::vector<double> after = pair.Snapshot();
      if (std::memcmp(before.data(), after.data(), before.size() * sizeof(double)) != 0) ++changed;
      const std::string difference = pair.FirstDifference();
      ASSERT_EQ(difference, "") << Describe(rule) << ", step " << step;
    }
    EXPECT_GT(changed, 2) << Describe(rule) << ": the dots hardly changed a pixel";
  }
}

// Batches, the path of a drawing run: stored points applied part by part.
TEST(VectorKernel, BatchesGiveTheScalarKernelsBytes) {
  if (!VectorKernelAvailable()) GTEST_SKIP() << "this CPU has no vector kernel; only the scalar one runs";
  std::mt19937 random(99);
  std::uniform_real_distribution<double> coordinate(-1.2, 1.2);
  const Rule rules[] = {
      {true, false, false, false, false, false, false, false, false},  // the default
      {false, false, false, true, false, false, false, false, false},  // normalising
      {false, true, true, false, true, false, false, false, true},
  };
  for (const Rule& rule : rules) {
    Pair pair(rule, 40);
    pair.Seed(random);
    const double c[3] = {90, 200, 30};
    pair.Prepare(4, 3, 20, 700, c, 1);
    std::vector<DotPoint> points;
    for (int k = 1; k <= 700; ++k) points.push_back({coordinate(random), coordinate(random), k, 1});
    for (SmallCanvas* s : {&pair.scalar, &pair.vector}) {
      DotBatch batch;
      batch.Reset(s->kernel, 700, 5);
      for (int first = 0; first < 700; first += DotBatch::kBlock)
        batch.Store(s->kernel, first, points.data() + first, std::min(DotBatch::kBlock, 700 - first));
      for (int part = 4; part >= 0; --part) batch.Apply(s->canvas, s->kernel, 700, part);
    }
    EXPECT_EQ(pair.FirstDifference(), "") << Describe(rule);
  }
}

}  // namespace
}  // namespace quorl
