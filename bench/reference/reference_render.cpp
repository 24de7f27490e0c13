// `quorl_reference SCENE.ini [-o OUT.png]`: draws a scene as
// `quorl render --bench --threads 1` does, but colours every point with the
// kept reference kernel, one point at a time, and prints the same figures.
// tools/bench.sh runs it beside the program to give each scene's speed-up
// over the reference in the same minute; the picture it writes must be the
// program's, byte for byte.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/program_setup.h"
#include "base/host.h"
#include "canvas/png_writer.h"
#include "engine/drawing_run.h"
#include "engine/point_sink.h"
#include "engine/program_state.h"
#include "reference/reference_dot_kernel.h"

namespace quorl {
namespace {

class ReferenceSink : public PointSink {
 public:
  explicit ReferenceSink(ProgramState& state) : state_(state) {}
  void BeginShape(int step, int steps, double limit, int count) override {
    kernel_.Prepare(state_.params, state_.source, state_.canvas,
                    DrawingRun::DotStepOf(state_, state_.curves, step, steps, limit, count));
  }
  bool AddPoint(double x, double y, int index, double z_factor) override {
    if (kernel_.DrawsNothing()) return true;
    reference::AddColorToPixels(state_.canvas, kernel_, DotPoint{x, y, index, z_factor});
    subSamples += kernel_.SubSampleCount();
    return true;
  }
  long long subSamples = 0;

 private:
  ProgramState& state_;
  reference::ReferenceDotKernel kernel_;
};

int Main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "-o")) {
    std::fprintf(stderr, "usage: quorl_reference SCENE.ini [-o OUT.png]\n");
    return 2;
  }
  auto state = std::make_unique<ProgramState>();
  Host host;
  SetupOptions setup;
  setup.settingsPath = argv[1];
  if (const int status = SetUpProgramState(setup, *state, host, stderr); status != 0) return status;
  DrawingRun run(*state, host);
  run.SetThreads(1);
  ReferenceSink sink(*state);
  run.ColourThrough(&sink);
  const auto start = std::chrono::steady_clock::now();
  run.DrawOrStop();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (argc == 4) {
    std::string error;
    if (!WritePngFile(argv[3], state->canvas.Bitmap(), PngWriteOptions{}, &error)) {
      std::fprintf(stderr, "quorl_reference: cannot write '%s': %s\n", argv[3], error.c_str());
      return 1;
    }
  }
  std::printf("points: %lld\nsub-samples: %lld\nseconds: %.3f\n", run.Counters().points, sink.subSamples,
              seconds);
  std::printf("million sub-samples per second: %.2f\n",
              seconds > 0 ? static_cast<double>(sink.subSamples) / seconds / 1e6 : 0.0);
  return 0;
}

}  // namespace
}  // namespace quorl

int main(int argc, char** argv) {
  return quorl::Main(argc, argv);
}
