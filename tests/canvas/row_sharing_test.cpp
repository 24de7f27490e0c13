// Rows rendered and reset on a pool's threads must give the bytes one
// thread gives: the bitmap, the 16-bit picture, the normal grid, and above
// all the normalising extremes, which come from folds over every row.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/worker_pool.h"
#include "canvas/canvas.h"
#include "canvas/canvas_grids.h"
#include "canvas/image_stores.h"
#include "settings/parameter_set.h"

namespace quorl {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Grids of random colours, about a third of the pixels never painted. With
// `odd` set, some cells hold NaN, infinities, huge values and -0 in the
// pixel and background grids, spread over different rows, so the extremes
// get reset by NaNs part way up the canvas.
CanvasGrids RandomGrids(int width, int height, bool odd, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> colour(-50.0, 600.0);
  std::uniform_int_distribution<int> pick(0, 99);
  const double oddValues[] = {kNaN, -kNaN, kInf, -kInf, 1e300, -1e300, -0.0, 0.0, 1e-310};
  CanvasGrids grids;
  grids.width = width;
  grids.height = height;
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  grids.pixels.resize(3 * pixels);
  grids.background.resize(3 * pixels);
  grids.normal.assign(3 * pixels, 0.0);
  grids.firstStep.resize(pixels);
  for (std::size_t i = 0; i < pixels; ++i) {
    grids.firstStep[i] = pick(random) < 35 ? Canvas::kNeverPainted : pick(random);
    for (int c = 0; c < 3; ++c) {
      grids.pixels[3 * i + c] = colour(random);
      grids.background[3 * i + c] = std::floor(colour(random) / 3);
      if (odd && pick(random) < 4) grids.pixels[3 * i + c] = oddValues[pick(random) % 9];
      if (odd && pick(random) < 2) grids.background[3 * i + c] = oddValues[pick(random) % 9];
    }
  }
  return grids;
}

// Everything a render makes from the grids, bit for bit.
struct Rendered {
  std::vector<std::uint8_t> bitmap;
  std::vector<std::uint16_t> deep;
  std::vector<std::uint8_t> normal;  // the normal grid's bytes
  std::vector<std::uint8_t> rows;    // after a plain render of the written rows only
};

std::vector<std::uint8_t> BytesOf(const std::vector<double>& values) {
  std::vector<std::uint8_t> bytes(values.size() * sizeof(double));
  if (!bytes.empty()) std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

Rendered Render(const CanvasGrids& grids, const ParameterSet& params,
                const std::shared_ptr<WorkerPool>& pool) {
  Canvas canvas;
  canvas.ShareRowsWith(pool);
  CanvasGrids copy = grids;
  EXPECT_TRUE(canvas.RestoreGrids(std::move(copy)));
  Rendered r;
  canvas.DrawGridsOnPicture(params);
  r.bitmap = canvas.Bitmap().Bytes();
  r.deep = canvas.RenderDeep(params).rgb;
  r.normal = BytesOf(canvas.CopyGrids().normal);
  // A plain render first, then a few rows changed and rendered alone.
  ParameterSet plain = params;
  plain.InterpolateColors = false;
  canvas.DrawGridsOnPicture(plain);
  const int h = canvas.CanvasHeight();
  for (int y = h / 3; y <= h / 2; ++y) canvas.SetPixel(1, 0, y, 300.5 + y);
  canvas.DrawWrittenRowsOnPicture(plain);
  r.rows = canvas.Bitmap().Bytes();
  return r;
}

TEST(RowSharing, RendersOnTwoAndThreeThreadsGiveTheOneThreadBytes) {
  const auto two = std::make_shared<WorkerPool>(2), three = std::make_shared<WorkerPool>(3);
  struct Size {
    int width, height;
  };
  // 1 and 7 rows share unevenly among the threads; 150 rows make more
  // bands than a pool of 3 cuts, of uneven heights.
  for (const Size size : {Size{9, 1}, Size{13, 7}, Size{5, 150}}) {
    for (const bool odd : {false, true}) {
      const CanvasGrids grids = RandomGrids(size.width, size.height, odd, 7u * size.height + odd);
      for (const bool normalise : {false, true}) {
        for (const bool white : {false, true}) {
          ParameterSet params;
          params.ImageWidth = size.width;
          params.ImageHeight = size.height;
          params.InterpolateColors = normalise;
          params.NormalisationDivisor = 3;
          params.White = white;
          const std::string where = std::to_string(size.width) + "x" + std::to_string(size.height) +
                                    (odd ? " odd values" : "") + (normalise ? " normalising" : "") +
                                    (white ? " white" : "");
          const Rendered one = Render(grids, params, nullptr);
          for (const std::shared_ptr<WorkerPool>& pool : {two, three}) {
            const Rendered shared = Render(grids, params, pool);
            const std::string threads = where + ", " + std::to_string(pool->Threads()) + " threads";
            EXPECT_EQ(shared.bitmap, one.bitmap) << threads;
            EXPECT_EQ(shared.deep, one.deep) << threads;
            EXPECT_EQ(shared.normal, one.normal) << threads;
            EXPECT_EQ(shared.rows, one.rows) << threads;
          }
        }
      }
    }
  }
}

// The cases where a fold's order shows, with a NaN that is not the last
// value, in a band that is not the first: after it, zeros of both signs
// tie for the brightest background (a white render uses its sign); or only
// unpainted rows follow; or only values below the whole fold's starting
// extremes (-1e9 for hi, 0 for the background's) follow.
TEST(RowSharing, NormalisingExtremesKeepTheFoldOrderOfNaNs) {
  const auto three = std::make_shared<WorkerPool>(3);
  constexpr int kWidth = 4, kHeight = 30;
  enum Case { kSignedZeros, kUnpaintedAbove, kVeryLowAbove };
  for (const Case what : {kSignedZeros, kUnpaintedAbove, kVeryLowAbove}) {
    for (int nanRow : {0, 5, 11, 28}) {
      CanvasGrids grids = RandomGrids(kWidth, kHeight, false, 11u + nanRow);
      const auto cell = [](int x, int y) { return static_cast<std::size_t>(y * kWidth + x); };
      for (std::int32_t& first : grids.firstStep) first = 0;
      const std::size_t last = cell(kWidth - 1, nanRow);
      // One channel alone: a NaN in every channel would make every
      // normalised value NaN, whatever the other extremes are.
      grids.pixels[3 * last] = kNaN;
      if (what != kUnpaintedAbove) grids.background[3 * last + 1] = kNaN;
      for (int y = nanRow + 1; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          for (int c = 0; c < 3; ++c) {
            const std::size_t i = 3 * cell(x, y) + c;
            if (what == kSignedZeros) grids.background[i] = (x + y) % 2 ? -0.0 : 0.0;
            if (what == kUnpaintedAbove) grids.firstStep[cell(x, y)] = Canvas::kNeverPainted;
            if (what == kVeryLowAbove) grids.pixels[i] = grids.background[i] = -5e9 - 1e8 * (x + c);
          }
      for (const bool white : {false, true}) {
        ParameterSet params;
        params.ImageWidth = kWidth;
        params.ImageHeight = kHeight;
        params.InterpolateColors = true;
        params.NormalisationDivisor = 2;
        params.White = white;
        const Rendered one = Render(grids, params, nullptr);
        const Rendered shared = Render(grids, params, three);
        const std::string where = "case " + std::to_string(what) + ", NaN in row " + std::to_string(nanRow) +
                                  (white ? ", white" : "");
        EXPECT_EQ(shared.bitmap, one.bitmap) << where;
        EXPECT_EQ(shared.deep, one.deep) << where;
      }
    }
  }
}

TEST(RowSharing, ResetOnAPoolGivesTheOneThreadGrids) {
  const auto three = std::make_shared<WorkerPool>(3);
  Picture24 image(5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      image.SetPixel(x, y, static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(60 * y), 9);
  for (const bool useImage : {false, true}) {
    BackgroundStore background;
    background.SetPicture(image);
    ParameterSet params;
    params.ImageWidth = 11;
    params.ImageHeight = 7;
    params.BgMaxRed = 30;
    params.BgMaxGreen = 70;
    params.BgMaxBlue = 110;
    params.UseBackgroundImage = useImage;
    params.BackgroundImagePositionTiled = true;
    CanvasGrids grids[2];
    std::vector<std::uint8_t> bitmaps[2];
    for (int shared = 0; shared < 2; ++shared) {
      Canvas canvas;
      canvas.ShareRowsWith(shared ? three : nullptr);
      ASSERT_TRUE(canvas.SetImageDimensions(params));
      canvas.SetPixel(0, 3, 3, 999);  // gone after the reset
      canvas.MakePictureBlack(params, background);
      grids[shared] = canvas.CopyGrids();
      bitmaps[shared] = canvas.Bitmap().Bytes();
    }
    EXPECT_EQ(grids[1], grids[0]) << (useImage ? "image" : "colour");
    EXPECT_EQ(bitmaps[1], bitmaps[0]) << (useImage ? "image" : "colour");
    EXPECT_EQ(grids[0].firstStep.front(), Canvas::kNeverPainted);
    EXPECT_EQ(grids[0].firstStep.back(), Canvas::kNeverPainted);
  }
}

}  // namespace
}  // namespace quorl
