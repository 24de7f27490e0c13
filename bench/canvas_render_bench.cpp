// The fixed cost of a run around its steps: rendering the grids into the
// bitmap (plain and normalising) and resetting to the background, on one
// thread and with rows shared on a pool. Arguments: normalising, threads.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "base/worker_pool.h"
#include "canvas/canvas.h"
#include "canvas/image_stores.h"
#include "settings/parameter_set.h"

namespace quorl {
namespace {

struct PaintedCanvas {
  explicit PaintedCanvas(int threads) {
    if (threads > 1) pool = std::make_shared<WorkerPool>(threads);
    params.ImageWidth = params.ImageHeight = 800;
    canvas.SetImageDimensions(params);
    canvas.MakePictureBlack(params, background);
    // Half the pixels painted with colours that are not whole numbers.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> colour(0.0, 400.0);
    for (int y = 0; y < 800; ++y)
      for (int x = y % 2; x < 800; x += 2) {
        for (int c = 0; c < 3; ++c) canvas.SetPixel(c, x, y, colour(random));
        canvas.SetFirstStep(x, y, 1);
      }
    canvas.ShareRowsWith(pool);
  }
  std::shared_ptr<WorkerPool> pool;
  ParameterSet params;
  BackgroundStore background;
  Canvas canvas;
};

void RenderGrids(benchmark::State& bench) {
  PaintedCanvas p(static_cast<int>(bench.range(1)));
  p.params.InterpolateColors = bench.range(0) != 0;
  for (auto _ : bench) {
    p.canvas.DrawGridsOnPicture(p.params);
    benchmark::DoNotOptimize(p.canvas.Bitmap().Bytes().data());
  }
  bench.SetItemsProcessed(bench.iterations() * 800 * 800);
}
BENCHMARK(RenderGrids)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();

void ResetToBackground(benchmark::State& bench) {
  PaintedCanvas p(static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    p.canvas.MakePictureBlack(p.params, p.background);
    benchmark::DoNotOptimize(p.canvas.PixelBuffer());
  }
  bench.SetItemsProcessed(bench.iterations() * 800 * 800);
}
BENCHMARK(ResetToBackground)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorl
