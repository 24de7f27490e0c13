// The add-and-clamp colour rules, which the kernel applies two channels to
// a register, against the kept reference kernel (one channel at a time),
// bit for bit, on pixels holding the awkward values a long or unclamped
// run can leave: the range's edges, values beyond it, infinities, zeros of
// both signs and NaNs with payloads.
#if QUORL_REFERENCE_KERNEL

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "canvas/dot_kernel.h"
#include "reference/reference_dot_kernel.h"
#include "support/canvas_test_support.h"

namespace quorl {
namespace {

using testing::SamePixels;
using testing::SmallCanvas;

double Bits(std::uint64_t bits) {
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void FillAwkwardly(Canvas& canvas) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0,
                           -0.0,
                           255,
                           254.75,
                           0.25,
                           -3,
                           300,
                           1e300,
                           -1e300,
                           inf,
                           -inf,
                           Bits(0x7FF8000000000123u),
                           Bits(0xFFF8000000000456u),
                           128,
                           17.5,
                           240};
  constexpr int kValues = sizeof values / sizeof values[0];
  double* pixels = canvas.PixelBuffer();
  const int cells = canvas.CanvasWidth() * canvas.CanvasHeight() * 3;
  // Most pixels ordinary, every few an awkward one, channels differing.
  for (int i = 0; i < cells; ++i) pixels[i] = i % 5 == 0 ? values[(i / 5) % kValues] : (i * 37) % 256;
}

TEST(ChannelRules, AddingAndSubtractingMatchTheReferenceBitForBit) {
  struct Mode {
    const char* name;
    bool white, unclamped, bestGuess;
  };
  const Mode modes[] = {
      {"subtract, clamped", true, false, false},   {"subtract, unclamped", true, true, false},
      {"add, clamped", false, false, false},       {"add, unclamped", false, true, false},
      {"best guess, clamped", false, false, true},
  };
  constexpr int kSize = 24;
  for (const Mode& m : modes) {
    // Dot sizes with a term table (z = 1) and without (other depths), and
    // one larger than the table holds.
    for (const double dotSize : {2.5, 4.0, 70.0}) {
      SCOPED_TRACE(std::string(m.name) + ", dot " + std::to_string(dotSize));
      SmallCanvas live(kSize, m.white), batched(kSize, m.white), kept(kSize, m.white);
      reference::ReferenceDotKernel reference;
      for (SmallCanvas* s : {&live, &batched, &kept}) {
        s->params.InterpolateColors = m.unclamped;
        s->params.BestGuess = m.bestGuess;
        s->dot.StepColor[0] = 30;
        s->dot.StepColor[1] = 160;
        s->dot.StepColor[2] = 250;
        s->dot.StepAmount[1] = 0.5;
        FillAwkwardly(s->canvas);
      }
      std::mt19937 random(5);
      std::uniform_real_distribution<double> coordinate(-1.1, 1.1);
      for (int step = 0; step < 3; ++step) {
        std::vector<DotPoint> points;
        for (int k = 1; k <= 200; ++k)
          points.push_back({coordinate(random), coordinate(random), k, k % 3 == 0 ? 0.75 : 1.0});
        live.Prepare(dotSize, step, 3, 200);
        batched.Prepare(dotSize, step, 3, 200);
        kept.Prepare(dotSize, step, 3, 200);
        reference.Prepare(kept.params, kept.source, kept.canvas, kept.dot);
        for (const DotPoint& p : points) {
          AddColorToPixels(live.canvas, live.kernel, p);
          reference::AddColorToPixels(kept.canvas, reference, p, 0, INT_MAX);
        }
        DotBatch batch;
        batch.Reset(batched.kernel, 200, 3);
        batch.Store(batched.kernel, 0, points.data(), 200);
        for (int part = 0; part < 3; ++part) batch.Apply(batched.canvas, batched.kernel, 200, part);
      }
      EXPECT_TRUE(SamePixels(live.canvas, kept.canvas));
      EXPECT_TRUE(SamePixels(batched.canvas, kept.canvas));
      SmallCanvas untouched(kSize, m.white);
      FillAwkwardly(untouched.canvas);
      EXPECT_FALSE(SamePixels(live.canvas, untouched.canvas)) << "the points changed nothing";
    }
  }
}

}  // namespace
}  // namespace quorl

#endif  // QUORL_REFERENCE_KERNEL
