// The same picture on any number of threads: every golden scene, and
// variants of them that reach the other colouring paths, drawn with 1, 2, 3
// and 8 threads must leave the same grids to the bit and the same bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/program_setup.h"
#include "app/render_command.h"
#include "canvas/png_writer.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;
using Overrides = std::vector<std::pair<std::string, std::string>>;

struct Drawn {
  std::vector<double> pixels;
  std::vector<std::int32_t> first;
  std::vector<std::uint8_t> bitmap;
  long long points = 0;
};

struct Scene {
  std::string name;  // a golden scene
  Overrides overrides;
  bool sourceImage = false;
};

fs::path Golden(const std::string& name) {
  return fs::path(QUORL_SOURCE_DIR) / "tests/data/golden" / (name + ".ini");
}

class Threads : public ::testing::Test {
 protected:
  Threads() {
    // A small source picture with every byte different.
    Picture24 picture(7, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x)
        picture.SetPixel(x, y, static_cast<std::uint8_t>(30 * x + 7), static_cast<std::uint8_t>(50 * y + 3),
                         static_cast<std::uint8_t>(11 * x * y + 90));
    std::string error;
    EXPECT_TRUE(WritePngFile(source.string(), picture, {}, &error)) << error;
  }

  // Every step shared out, however little it draws, so that small scenes
  // go through the threads too.
  Drawn Draw(const Scene& scene, int threads) {
    auto state = std::make_unique<ProgramState>();
    Host host;
    SetupOptions setup;
    setup.settingsPath = Golden(scene.name).string();
    setup.overrides = scene.overrides;
    if (scene.sourceImage) setup.sourceImage = source.string();
    EXPECT_EQ(SetUpProgramState(setup, *state, host, stderr), 0) << scene.name;
    DrawingRun run(*state, host);
    run.SetThreads(threads);
    run.SetParallelWork(0);
    EXPECT_EQ(run.Threads(), threads);
    run.DrawOrStop();
    Canvas& canvas = state->canvas;
    const std::size_t cells = static_cast<std::size_t>(canvas.CanvasWidth()) * canvas.CanvasHeight();
    Drawn drawn;
    drawn.pixels.assign(canvas.PixelBuffer(), canvas.PixelBuffer() + cells * 3);
    drawn.first.assign(canvas.FirstStepBuffer(), canvas.FirstStepBuffer() + cells);
    drawn.bitmap = canvas.Bitmap().Bytes();
    drawn.points = run.Counters().points;
    return drawn;
  }

  test::ScratchFolder scratch{"quorl-threads-test"};
  const fs::path source = scratch / "source.png";
};

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST_F(Threads, EveryThreadCountDrawsTheSamePicture) {
  std::vector<Scene> scenes;
  for (const char* name : {"circles_dark", "ellipses_limits", "line_newcolor", "lissajous_normalise",
                           "sine_curves", "sine_default", "tan_aba", "test_rocks", "zarvk_scatter"}) {
    scenes.push_back({name, {}, false});
  }
  // Colouring paths the golden scenes do not reach.
  scenes.push_back({"sine_default", {{"UseZFactor", "1"}}, false});
  scenes.push_back({"sine_default",
                    {{"StartLimit", "70"}, {"EndLimit", "70"}, {"GrainMultiplier", "10"}, {"Steps", "6"}},
                    false});  // a dot too wide for the shared terms
  scenes.push_back(
      {"sine_default", {{"GrainMultiplier", "12000"}, {"Steps", "3"}}, false});  // several batches a step
  scenes.push_back({"circles_dark", {{"BestGuess", "1"}, {"StartAmount", "100"}}, false});
  scenes.push_back({"line_newcolor", {{"OneOrTwo", "1"}, {"White", "0"}}, false});
  scenes.push_back({"lissajous_normalise", {{"UseSourceImage", "1"}}, true});
  scenes.push_back({"tan_aba", {{"UseSourceImage", "1"}, {"UseOpaquePixels", "1"}, {"White", "0"}}, true});
  scenes.push_back(
      {"sine_default", {{"UseDimmer", "1"}, {"UseIotaExtra", "1"}, {"InterpolateColors", "1"}}, false});

  for (const Scene& scene : scenes) {
    std::string label = scene.name;
    for (const auto& [key, value] : scene.overrides) label += " " + key + "=" + value;
    const Drawn one = Draw(scene, 1);
    ASSERT_GT(one.points, 0) << label;
    EXPECT_TRUE(std::any_of(one.first.begin(), one.first.end(),
                            [](std::int32_t s) { return s < Canvas::kNeverPainted; }))
        << label << ": nothing was drawn";
    for (int threads : {2, 3, 8}) {
      const Drawn many = Draw(scene, threads);
      EXPECT_TRUE(SameBits(one.pixels, many.pixels))
          << label << ", " << threads << " threads: pixel buffer differs";
      EXPECT_EQ(one.first, many.first) << label << ", " << threads << " threads: first steps differ";
      EXPECT_EQ(one.bitmap, many.bitmap) << label << ", " << threads << " threads: bitmap differs";
      EXPECT_EQ(one.points, many.points) << label << ", " << threads << " threads";
    }
  }
}

// What a user runs: `quorl render --threads N` writes the same PNG for every
// N, says how many threads it used, and uses all cores without the option.
TEST_F(Threads, RenderWritesTheSameBytesWithAnyThreadCount) {
  const fs::path scene = scratch / "scene.ini";
  test::WriteFile(scene,
                  "[start]\nImageWidth=160\nImageHeight=120\n[sine]\nSteps=60\nGrainMultiplier=3000\n"
                  "StartLimit=3\nEndLimit=5\nStartBumps=3\nEndBumps=7\n");
  std::string first;
  for (const char* threads : {"1", "2", "3", "8", ""}) {
    const fs::path png = scratch / (std::string("out") + threads + ".png");
    std::vector<std::string> words = {scene.string(), "-o", png.string(), "--bench"};
    if (*threads) words.insert(words.end(), {"--threads", threads});
    const test::Outcome outcome = test::RunQuorl("render", words);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string expected = *threads ? threads : std::to_string(HardwareThreads());
    EXPECT_NE(outcome.out.find("threads: " + expected + "\n"), std::string::npos) << outcome.out;
    const std::string bytes = test::ReadFile(png);
    ASSERT_FALSE(bytes.empty());
    if (first.empty()) first = bytes;
    EXPECT_TRUE(bytes == first) << threads << " threads wrote other bytes";
  }
}

}  // namespace
}  // namespace quorl
