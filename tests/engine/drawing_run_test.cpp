#include "engine/drawing_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "engine_test_support.h"

namespace quorl {
namespace {

using testing::SetCurve;

class RunHost : public testing::TestHost {
 public:
  void SetupProgressBar(int maximum) override { progress_maximum = maximum; }
  void SetProgressPosition(int position) override { positions.push_back(position); }
  void ProcessPendingEvents() override {
    if (between_steps) between_steps();
  }
  void SetDrawCommandsEnabled(bool drawEnabled) override { draw_enabled.push_back(drawEnabled); }
  void EnableAnimationStart(bool enabled) override { animation_start.push_back(enabled); }

  std::function<void()> between_steps;
  int progress_maximum = -1;
  std::vector<int> positions;
  std::vector<bool> draw_enabled;
  std::vector<bool> animation_start;
};

class Run : public ::testing::Test {
 protected:
  Run() {
    // A small, fast picture: 48 x 48 pixels, 21 points per shape.
    state->params.ImageWidth = 48;
    state->params.ImageHeight = 48;
    state->params.GrainMultiplier = 10;
    state->params.PercentToComplete = 100;
    state->canvas.SetImageDimensions(state->params);
    state->canvas.MakePictureBlack(state->params, state->background);
    run.WriteSettings = [this] { ++settings_writes; };
    host.between_steps = [this] { drawn_steps.push_back(static_cast<int>(run.CurrentStep()) - 1); };
  }
  double PixelAtReal(int channel, double x, double y) {
    const int px = static_cast<int>((x + 2) / 4 * 48), py = static_cast<int>((y + 2) / 4 * 48);
    return state->canvas.Pixel(channel, px, py);
  }

  std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
  RunHost host;
  DrawingRun run{*state, host};
  int settings_writes = 0;
  std::vector<int> drawn_steps;
};

TEST_F(Run, PercentToCompleteEndsTheRunAfterTheStepPastTheLimit) {
  state->params.PercentToComplete = 50;
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 502);  // steps 0 ... 501
  EXPECT_EQ(drawn_steps.back(), 501);

  for (int percent : {100, 357}) {
    state->params.PercentToComplete = percent;
    run.DrawOrStop();
    EXPECT_EQ(run.Counters().stepsDrawn, 1000) << percent;
  }
}

TEST_F(Run, StartAndEndOfARun) {
  state->params.Steps = 1;
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 1);
  EXPECT_EQ(drawn_steps, (std::vector<int>{0, 1}));  // the second iteration draws nothing
  EXPECT_EQ(host.progress_maximum, 1);
  EXPECT_EQ(host.positions, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(host.status, (std::vector<std::string>{"Drawing...", "Finished"}));
  EXPECT_EQ(host.draw_enabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(host.animation_start, (std::vector<bool>{false, true}));
  EXPECT_EQ(settings_writes, 1);
  EXPECT_FALSE(state->flags.IsDrawing);

  // No steps at all: nothing drawn, the run still ends cleanly.
  state->params.Steps = 0;
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 0);
  EXPECT_FALSE(state->flags.IsDrawing);
  EXPECT_EQ(host.status.back(), "Finished");
}

TEST_F(Run, PreviewDrawsEveryTwentiethStepTenTimesAsStrong) {
  state->params.Steps = 100;
  state->flags.Preview = true;
  std::vector<double> amounts;
  host.between_steps = [&] {
    drawn_steps.push_back(static_cast<int>(run.CurrentStep()) - 1);
    amounts.push_back(state->step.StepAmount[2]);
  };
  run.DrawOrStop();
  EXPECT_EQ(drawn_steps, (std::vector<int>{0, 1, 21, 41, 61, 81}));
  EXPECT_EQ(run.Counters().stepsDrawn, 6);
  EXPECT_EQ(amounts, std::vector<double>(6, 10.0));
}

TEST_F(Run, StepColourSweepsRepeatOrReturn) {
  std::vector<double> red(1001, -1);
  host.between_steps = [&] { red[static_cast<size_t>(run.CurrentStep() - 1)] = state->step.StepColor[0]; };
  state->params.StepColorMultiplier = 2;
  run.DrawOrStop();
  EXPECT_EQ(red[0], 255);
  EXPECT_DOUBLE_EQ(red[250], 127.5);
  EXPECT_NEAR(red[499], 0.51, 1e-9);
  EXPECT_EQ(red[500], 255);  // the second sweep starts again
  EXPECT_DOUBLE_EQ(red[750], 127.5);

  state->params.StepColorMultiplier = 1;
  state->params.ABA = true;
  run.DrawOrStop();
  EXPECT_DOUBLE_EQ(red[250], 127.5);
  EXPECT_EQ(red[500], 0);  // at the end colour half way
  EXPECT_DOUBLE_EQ(red[750], 127.5);
  EXPECT_DOUBLE_EQ(red[999], 255 * 0.998);

  // White adds (m - 1) * 255 to the start red instead of scaling it.
  state->params.ABA = false;
  state->params.NewColor = true;
  SetCurve(state->curves, 16, testing::FlatLine(-0.5));  // multiplier 0.5
  run.DrawOrStop();
  EXPECT_DOUBLE_EQ(red[0], 127.5);
  state->params.White = false;
  run.DrawOrStop();
  EXPECT_DOUBLE_EQ(red[0], 127.5);
  state->params.StartMaxRed = 100;
  run.DrawOrStop();
  EXPECT_DOUBLE_EQ(red[0], 50);
}

TEST_F(Run, RotationCentreMovesFromAToBOrStaysAtA) {
  std::vector<RealPoint> centres;
  host.between_steps = [&] { centres.push_back(run.LastShapeArguments().rotation_centre); };
  state->params.QuorlPointsRotateXStart = -1;
  state->params.QuorlPointsRotateYStart = 1;
  state->params.QuorlPointsRotateXEnd = 3;
  state->params.QuorlPointsRotateYEnd = -1;
  run.DrawOrStop();
  EXPECT_EQ(centres[0], (RealPoint{-1, 1}));
  EXPECT_EQ(centres[500], (RealPoint{1, 0}));

  centres.clear();
  state->params.MoveRotation = false;
  run.DrawOrStop();
  EXPECT_EQ(centres[0], (RealPoint{-1, 1}));
  EXPECT_EQ(centres[500], (RealPoint{-1, 1}));
}

TEST_F(Run, StepValuesAreInterpolatedAndScaledByTheirCurves) {
  std::vector<ShapeArguments> shapes;
  host.between_steps = [&] { shapes.push_back(run.LastShapeArguments()); };
  state->params.StartRadius = 100;
  state->params.EndRadius = 300;
  state->params.StartIota = 0;
  state->params.EndIota = 360;
  state->params.StartLimit = 2;
  state->params.EndLimit = 4;
  SetCurve(state->curves, 3, testing::FlatLine(0.5));   // radius x 1.5
  SetCurve(state->curves, 7, testing::FlatLine(-3));    // grain x |-2|
  run.DrawOrStop();
  ASSERT_EQ(shapes.size(), 1001u);
  EXPECT_DOUBLE_EQ(shapes[0].r, 1.5);
  EXPECT_DOUBLE_EQ(shapes[500].r, 3);
  EXPECT_DOUBLE_EQ(shapes[500].phi, 3.141592653589793);
  EXPECT_DOUBLE_EQ(shapes[500].limit, 3);
  EXPECT_DOUBLE_EQ(shapes[0].g, 4);
  EXPECT_EQ(shapes[0].fn, kSineWobble);
}

TEST_F(Run, StopAndClearArriveBetweenSteps) {
  host.between_steps = [&] {
    if (run.CurrentStep() - 1 == 10) run.DrawOrStop();  // acts as Stop: a run is drawing
  };
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 11);
  EXPECT_EQ(host.status, (std::vector<std::string>{"Drawing...", "Stopping drawing...", "Finished"}));
  EXPECT_FALSE(state->flags.IsDrawing);
  EXPECT_EQ(host.draw_enabled, (std::vector<bool>{false, true, true}));

  // Clear half way: what the first half drew is gone, the run goes on into
  // the emptied buffer.
  host.status.clear();
  host.between_steps = [&] {
    if (run.CurrentStep() - 1 == 500) run.btnClearClick();
  };
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 1000);
  EXPECT_EQ(host.status, (std::vector<std::string>{"Drawing...", "Clearing...", "Cleared", "Finished"}));
  EXPECT_EQ(PixelAtReal(1, -1.5, 0.95), 255);  // only steps before 500 reach here
  EXPECT_LT(PixelAtReal(1, 1.5, 0.95), 255);
  EXPECT_EQ(settings_writes, 3);  // two runs and the Clear
}

TEST_F(Run, ASecondRunAddsToTheFirst) {
  state->params.Steps = 20;
  run.DrawOrStop();
  std::vector<double> first;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) first.push_back(state->canvas.Pixel(1, x, y));
  run.DrawOrStop();
  int darker = 0;
  size_t i = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x, ++i) {
      EXPECT_LE(state->canvas.Pixel(1, x, y), first[i]);
      darker += state->canvas.Pixel(1, x, y) < first[i];
    }
  }
  EXPECT_GT(darker, 100);
}

TEST_F(Run, FailedStepsAreSkippedAndHuhIsShownOncePerRun) {
  // Lissajous with a delta of 0 divides by zero in the run itself.
  state->params.FunctionNumber = 5;
  state->params.LissaDelta = 0;
  state->params.Steps = 50;
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 0);
  EXPECT_EQ(drawn_steps.size(), 51u);  // every iteration still took its turn
  EXPECT_FALSE(state->flags.IsDrawing);
  EXPECT_EQ(host.status.back(), "Finished");

  // A delta that drops to 0 during the run: the steps from the next one on
  // are skipped.
  state->params.LissaDelta = 1;
  host.between_steps = [&] {
    if (run.CurrentStep() - 1 == 20) state->params.LissaDelta = 0;
  };
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 21);

  state->params.FunctionNumber = 0;
  state->params.GrainMultiplier = 0;
  run.DrawOrStop();
  run.DrawOrStop();
  EXPECT_EQ(host.messages, (std::vector<std::string>{"huh", "huh"}));
}

// The thread count may change between steps, and so may the canvas (Clear
// with a new size): the picture stays that of one thread.
TEST_F(Run, ThreadsAndCanvasSizeMayChangeBetweenSteps) {
  const auto draw = [](int threads_from_start, bool switch_threads) {
    auto state = std::make_unique<ProgramState>();
    state->params.ImageWidth = 48;
    state->params.ImageHeight = 40;
    state->params.Steps = 40;
    state->params.PercentToComplete = 100;
    state->params.StartLimit = state->params.EndLimit = 3;
    state->canvas.SetImageDimensions(state->params);
    state->canvas.MakePictureBlack(state->params, state->background);
    RunHost host;
    DrawingRun run(*state, host);
    run.SetThreads(threads_from_start);
    run.SetParallelWork(0);
    host.between_steps = [&] {
      const long long step = run.CurrentStep() - 1;
      if (switch_threads && step == 10) run.SetThreads(3);
      if (switch_threads && step == 25) run.SetThreads(2);
      if (step == 20) {
        state->params.ImageWidth = 64;
        state->params.ImageHeight = 56;
        run.btnClearClick();
      }
    };
    run.DrawOrStop();
    const Canvas& canvas = state->canvas;
    std::vector<double> grid;
    for (int y = 0; y < canvas.CanvasHeight(); ++y)
      for (int x = 0; x < canvas.CanvasWidth(); ++x)
        for (int c = 0; c < 3; ++c) grid.push_back(canvas.Pixel(c, x, y));
    return grid;
  };
  const std::vector<double> one = draw(1, false);
  ASSERT_EQ(one.size(), 64u * 56u * 3u);
  EXPECT_TRUE(std::any_of(one.begin(), one.end(), [](double v) { return v != 255; }));
  EXPECT_EQ(draw(1, true), one);
  EXPECT_EQ(draw(2, true), one);
}

TEST_F(Run, ThreadCountIsAllCoresUnlessSet) {
  EXPECT_EQ(run.Threads(), HardwareThreads());
  run.SetThreads(3);
  EXPECT_EQ(run.Threads(), 3);
  run.SetThreads(0);
  EXPECT_EQ(run.Threads(), HardwareThreads());
  run.SetThreads(5000);
  EXPECT_EQ(run.Threads(), PointBatchSink::kMaxParts);
}

}  // namespace
}  // namespace quorl
