// Micro-benchmarks of one drawing step: the outline alone (points computed
// and dropped) and the outline with colouring, at the default values and at
// the heavy scene's grain and dot size.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "engine/shape_step.h"

namespace quorl {
namespace {

class DroppingSink : public PointSink {
 public:
  void BeginShape(int, int, double, int) override {}
  bool AddPoint(double x, double y, int, double) override {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
    return true;
  }
};

void OutlineOnly(benchmark::State& bench) {
  auto state = std::make_unique<ProgramState>();
  Host host;
  DroppingSink sink;
  ShapeArguments args;
  args.fn = static_cast<int>(bench.range(0));
  args.b = 3;
  ShapeContext context{state->params, state->anim, state->step, state->curves, host, state->random, sink};
  long long points = 0;
  for (auto _ : bench) points += DrawByParameters(args, context).points;
  bench.SetItemsProcessed(points);
}
BENCHMARK(OutlineOnly)->DenseRange(kSineWobble, kZarvk9032);

// Whole runs of a few steps, colouring included.
void RunSteps(benchmark::State& bench) {
  auto state = std::make_unique<ProgramState>();
  state->params.Steps = 20;
  if (bench.range(0) == 1) {  // the heavy scene's grain and dot size
    state->params.StartGrain = state->params.EndGrain = 10;
    state->params.GrainMultiplier = 1000;
    state->params.StartLimit = state->params.EndLimit = 4;
  }
  Host host;
  state->canvas.SetImageDimensions(state->params);
  state->canvas.MakePictureBlack(state->params, state->background);
  DrawingRun run(*state, host);
  long long subSamples = 0;
  for (auto _ : bench) {
    run.DrawOrStop();
    subSamples += run.Counters().subSamples;
  }
  bench.SetItemsProcessed(subSamples);
}
BENCHMARK(RunSteps)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorl

BENCHMARK_MAIN();
