// Colouring alone: the points of some steps of the heavy and the default
// scene recorded once, then coloured again and again by the reference
// kernel (the scalar kernel as it stood before the vector kernel), by
// today's scalar kernel and by the vector kernel, one point at a time.
// Figures are CPU time, so they hold up on a busy machine better than
// whole renders.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "canvas/dot_kernel.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "reference/reference_dot_kernel.h"

namespace quorl {
namespace {

struct RecordedStep {
  DotStep dot;
  std::vector<DotPoint> points;
};

class Recorder : public PointSink {
 public:
  explicit Recorder(ProgramState& state) : state_(state) {}
  void BeginShape(int step, int steps, double limit, int count) override {
    steps_.push_back({DrawingRun::DotStepOf(state_, state_.curves, step, steps, limit, count), {}});
  }
  bool AddPoint(double x, double y, int index, double z) override {
    steps_.back().points.push_back({x, y, index, z});
    return true;
  }
  std::vector<RecordedStep> steps_;

 private:
  ProgramState& state_;
};

struct Scene {
  std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
  std::vector<RecordedStep> steps;
  long long subSamples = 0;
};

// Steps 100 ... 119 of the heavy scene (grain 10 x 1000, dot size 4) or of
// the default scene.
Scene& Recorded(bool heavy) {
  static Scene scenes[2];
  Scene& scene = scenes[heavy ? 1 : 0];
  if (!scene.steps.empty()) return scene;
  ParameterSet& p = scene.state->params;
  p.ImageWidth = p.ImageHeight = 800;
  if (heavy) {
    p.StartGrain = p.EndGrain = 10;
    p.GrainMultiplier = 1000;
    p.StartLimit = p.EndLimit = 4;
  }
  p.PercentToComplete = 12;
  Host host;
  DrawingRun run(*scene.state, host);
  Recorder recorder(*scene.state);
  run.ColourThrough(&recorder);
  run.DrawOrStop();
  scene.steps.assign(recorder.steps_.begin() + 100, recorder.steps_.begin() + 120);
  return scene;
}

enum Kernel { kReference, kScalar, kVector };

void ColourSteps(benchmark::State& bench) {
  const Kernel which = static_cast<Kernel>(bench.range(0));
  Scene& scene = Recorded(bench.range(1) == 1);
  ProgramState& state = *scene.state;
  state.canvas.SetImageDimensions(state.params);
  state.canvas.MakePictureBlack(state.params, state.background);
  if (which == kVector && !VectorKernelAvailable()) {
    bench.SkipWithError("no vector kernel on this CPU");
    return;
  }
  DotKernel kernel;
  kernel.UseScalarKernel(which == kScalar);
  reference::ReferenceDotKernel reference;
  long long subSamples = 0;
  for (auto _ : bench) {
    for (const RecordedStep& step : scene.steps) {
      if (which == kReference) {
        reference.Prepare(state.params, state.source, state.canvas, step.dot);
        for (const DotPoint& point : step.points) reference::AddColorToPixels(state.canvas, reference, point);
        subSamples += static_cast<long long>(step.points.size()) * reference.SubSampleCount();
      } else {
        kernel.Prepare(state.params, state.source, state.canvas, step.dot);
        for (const DotPoint& point : step.points) AddColorToPixels(state.canvas, kernel, point);
        subSamples += static_cast<long long>(step.points.size()) * kernel.SubSampleCount();
      }
    }
  }
  bench.SetItemsProcessed(subSamples);
}
BENCHMARK(ColourSteps)
    ->ArgNames({"kernel", "heavy"})
    ->ArgsProduct({{kReference, kScalar, kVector}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorl
