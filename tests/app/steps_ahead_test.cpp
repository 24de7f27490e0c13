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

  // `host`, when given, watches the run; `shows` is whether it shows the
  // picture while the run draws.
  Drawn Draw(const Scene& scene, int threads, bool ahead, Host* watcher = nullptr, bool shows = true,
             bool eachStep = false) {
    auto state = std::make_unique<ProgramState>();
    Host quiet;
    Host& host = watcher ? *watcher : quiet;
    SetupOptions setup;
    const fs::path name = scene.name + ".ini";
    setup.settingsPath =
        (name.is_absolute() ? name : fs::path(QUORL_SOURCE_DIR) / "tests/data/golden" / name).string();
    setup.overrides = scene.overrides;
    if (scene.sourceImage) setup.sourceImage = source.string();
    EXPECT_EQ(SetUpProgramState(setup, *state, host, stderr), 0) << scene.name;
    state->flags.Preview = scene.preview;
    state->flags.DrawEachStep = eachStep;
    DrawingRun run(*state, host);
    run.SetThreads(threads);
    run.SetStepsAhead(ahead);
    run.SetShowsPictureWhileDrawing(shows);
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

// Counts the pictures a run hands over (from its start: setting up the
// canvas shows one too), and asks it to end once it has passed
// `cancelAfter` steps.
class WatchingHost : public Host {
 public:
  void OnRunEvent(RunEvent event) override {
    if (event == RunEvent::kRunStarted) pictures = 0;
    pictures += event == RunEvent::kPictureChanged;
  }
  void ProcessPendingEvents() override { ++steps; }
  bool Cancelled() override { return steps > cancelAfter; }
  int pictures = 0;
  int steps = 0;
  int cancelAfter = 1 << 30;
};

TEST_F(StepsAhead, AHostThatShowsNoPictureWhileDrawingGetsTheSamePictureAtTheEnd) {
  const Scene scene{"sine_default", {{"Steps", "90"}}, false, false};
  // "Draw each step?" in a state the command line continues from: one
  // picture a step where it is shown, only the final one where not, and
  // nothing else changes.
  WatchingHost shown, unseen;
  const Drawn each = Draw(scene, 2, true, &shown, true, true);
  const Drawn last = Draw(scene, 2, true, &unseen, false, true);
  EXPECT_GE(shown.pictures, 90);
  EXPECT_EQ(unseen.pictures, 1);
  EXPECT_EQ(each.pixels, last.pixels);
  EXPECT_EQ(each.first, last.first);
  EXPECT_EQ(each.bitmap, last.bitmap);
  // Without it, the picture before the first step is left out too.
  WatchingHost plain;
  const Drawn ahead = Draw(scene, 2, true, &plain, false);
  EXPECT_EQ(plain.pictures, 1);
  EXPECT_EQ(ahead.bitmap, each.bitmap);
}

TEST_F(StepsAhead, AHostThatCancelsEndsTheRunWithinAGroup) {
  const Scene scene{"sine_default", {{"Steps", "1000"}}, false, false};
  WatchingHost host;
  host.cancelAfter = 10;
  const Drawn drawn = Draw(scene, 2, true, &host, false);
  // The step that sees the cancel is the last planned; what was planned
  // before it is drawn.
  EXPECT_EQ(drawn.counters.stepsDrawn, 11);
  EXPECT_LT(host.steps, 20);
}

}  // namespace
}  // namespace quorl
