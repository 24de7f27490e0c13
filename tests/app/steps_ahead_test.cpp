// Steps drawn ahead (several steps' points made at once, then coloured in
// step order, in one line or part by part) leave the grids one thread leaves, step for step:
// every golden scene, plus runs cut short, steps too large to plan, steps
// that must stay one at a time, preview and a source picture.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/program_setup.h"
#include "canvas/png_writer.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;
using Overrides = std::vector<std::pair<std::string, std::string>>;

struct Scene {
  std::string name;  // a golden scene, or a settings path without ".ini"
  Overrides overrides;
  bool sourceImage = false;
  bool preview = false;
};

struct Drawn {
  std::vector<double> pixels;
  std::vector<std::int32_t> first;
  std::vector<std::uint8_t> bitmap;
  RunCounters counters;
};

class StepsAhead : public ::testing::Test {
 protected:
  StepsAhead() {
    Picture24 picture(6, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x)
        picture.SetPixel(x, y, static_cast<std::uint8_t>(40 * x + 9), static_cast<std::uint8_t>(60 * y + 1),
                         static_cast<std::uint8_t>(13 * x * y + 70));
    std::string error;
    EXPECT_TRUE(WritePngFile(source.string(), picture, {}, &error)) << error;
  }

  Drawn Draw(const Scene& scene, int threads, bool ahead) {
    auto state = std::make_unique<ProgramState>();
    Host host;
    SetupOptions setup;
    const fs::path name = scene.name + ".ini";
    setup.settingsPath =
        (name.is_absolute() ? name : fs::path(QUORL_SOURCE_DIR) / "tests/data/golden" / name).string();
    setup.overrides = scene.overrides;
    if (scene.sourceImage) setup.sourceImage = source.string();
    EXPECT_EQ(SetUpProgramState(setup, *state, host, stderr), 0) << scene.name;
    state->flags.Preview = scene.preview;
    DrawingRun run(*state, host);
    run.SetThreads(threads);
    run.SetStepsAhead(ahead);
    run.DrawOrStop();
    Canvas& canvas = state->canvas;
    const std::size_t cells = static_cast<std::size_t>(canvas.CanvasWidth()) * canvas.CanvasHeight();
    Drawn drawn;
    drawn.pixels.assign(canvas.PixelBuffer(), canvas.PixelBuffer() + cells * 3);
    drawn.first.assign(canvas.FirstStepBuffer(), canvas.FirstStepBuffer() + cells);
    drawn.bitmap = canvas.Bitmap().Bytes();
    drawn.counters = run.Counters();
    return drawn;
  }

  test::ScratchFolder scratch{"quorl-steps-ahead-test"};
  const fs::path source = scratch / "source.png";
};

TEST_F(StepsAhead, DrawTheSamePictureAsOneThreadStepByStep) {
  std::vector<Scene> scenes;
  for (const char* name : {"circles_dark", "ellipses_limits", "line_newcolor", "lissajous_normalise",
                           "sine_curves", "sine_default", "tan_aba", "test_rocks", "zarvk_scatter"}) {
    scenes.push_back({name, {}, false, false});
  }
  scenes.push_back({"sine_default", {{"PercentToComplete", "37"}}, false, false});  // cut short
  scenes.push_back({"sine_default", {{"Steps", "40"}}, false, true});               // preview
  // Steps too large to plan between small ones.
  scenes.push_back({"sine_default",
                    {{"StartGrain", "1"}, {"EndGrain", "120"}, {"GrainMultiplier", "800"}, {"Steps", "12"}},
                    false,
                    false});
  // ... and, by a grain curve, now and then among groups of small ones: a
  // group is still being drawn when such a step comes.
  const fs::path golden = fs::path(QUORL_SOURCE_DIR) / "tests/data/golden";
  fs::copy_file(golden / "sine_default.ini", scratch / "grain_curve.ini");
  fs::copy_file(golden / "sine_curves_Values_-_Radius.curve", scratch / "grain_curve_Values_-_Grain.curve");
  scenes.push_back({(scratch / "grain_curve").string(),
                    {{"StartGrain", "12"}, {"EndGrain", "12"}, {"GrainMultiplier", "1000"}, {"Steps", "150"}},
                    false,
                    false});
  // Wide dots: steps whose points would not fit in one batch.
  scenes.push_back({"sine_default",
                    {{"StartLimit", "70"}, {"EndLimit", "70"}, {"GrainMultiplier", "4000"}, {"Steps", "4"}},
                    false,
                    false});
  scenes.push_back({"sine_default", {{"UseIotaExtra", "1"}}, false, false});  // one at a time
  scenes.push_back({"lissajous_normalise", {{"UseSourceImage", "1"}}, true, false});
  scenes.push_back({"sine_default", {{"UseZFactor", "1"}, {"NewColor", "1"}}, false, false});
  // Dots large enough that two threads colour by parts of the canvas.
  scenes.push_back({"sine_default", {{"StartLimit", "5"}, {"EndLimit", "8"}}, false, false});

  // Both ways of colouring steps drawn together are held to one thread.
  bool in_line = false, by_parts = false;

  for (const Scene& scene : scenes) {
    std::string label = fs::path(scene.name).filename().string();
    for (const auto& [key, value] : scene.overrides) label += " " + key + "=" + value;
    if (scene.preview) label += " preview";
    const Drawn one = Draw(scene, 1, false);
    ASSERT_GT(one.counters.points, 0) << label;
    const long long per_point = one.counters.subSamples / one.counters.points;
    (ColoursInLine(static_cast<int>(per_point), 2) ? in_line : by_parts) = true;
    for (int threads : {2, 3}) {
      const Drawn ahead = Draw(scene, threads, true);
      EXPECT_EQ(std::memcmp(one.pixels.data(), ahead.pixels.data(), one.pixels.size() * sizeof(double)), 0)
          << label << ", " << threads << " threads: pixel buffer differs";
      EXPECT_EQ(one.first, ahead.first) << label << ", " << threads << " threads: first steps differ";
      EXPECT_EQ(one.bitmap, ahead.bitmap) << label << ", " << threads << " threads: bitmap differs";
      EXPECT_EQ(one.counters.stepsDrawn, ahead.counters.stepsDrawn) << label;
      EXPECT_EQ(one.counters.points, ahead.counters.points) << label;
      EXPECT_EQ(one.counters.subSamples, ahead.counters.subSamples) << label;
    }
  }
  EXPECT_TRUE(in_line && by_parts) << "in line: " << in_line << ", by parts: " << by_parts;
}

}  // namespace
}  // namespace quorl
