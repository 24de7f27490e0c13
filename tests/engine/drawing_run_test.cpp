#include "engine/drawing_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "support/engine_test_support.h"

namespace quorl {
namespace {

class RunHost : public testing::TestHost {
 public:
  void ProcessPendingEvents() override {
    if (between_steps) between_steps();
  }
  void OnRunEvent(RunEvent event) override { events.push_back(event); }
  bool Cancelled() override { return cancel_after >= 0 && ++polls > cancel_after; }

  std::function<void()> between_steps;
  std::vector<RunEvent> events;
  int cancel_after = -1, polls = 0;
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

// The window steps its run on a worker and asks "still drawing?" from its own
// thread; the step that reaches the limit ends the run meanwhile.
TEST_F(Run, TheDrawingFlagIsWatchedFromAnotherThreadWhileAStepEndsTheRun) {
  state->params.PercentToComplete = 20;
  run.StartDrawing();
  run.Begin();
  ASSERT_TRUE(state->flags.IsDrawing);
  std::atomic<bool> stepped{false};
  std::thread worker([&] {
    while (run.RunStep()) {
    }
    stepped = true;
  });
  while (state->flags.IsDrawing && !stepped) {
  }
  worker.join();
  EXPECT_FALSE(state->flags.IsDrawing);
  EXPECT_EQ(drawn_steps.back(), 201);
  run.Finish();
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

TEST_F(Run, StopAndClearArriveBetweenSteps) {
  host.between_steps = [&] {
    if (run.CurrentStep() - 1 == 10) run.DrawOrStop();  // acts as Stop: a run is drawing
  };
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 11);
  EXPECT_EQ(host.status, (std::vector<std::string>{"Drawing...", "Stopping drawing...", "Finished"}));
  EXPECT_FALSE(state->flags.IsDrawing);
  // The picture is shown after the first step and at the end.
  EXPECT_EQ(host.events,
            (std::vector<RunEvent>{RunEvent::kRunStarted, RunEvent::kPictureChanged, RunEvent::kStopRequested,
                                   RunEvent::kPictureChanged, RunEvent::kRunFinished}));

  // Clear half way: what the first half drew is gone, the run goes on into
  // the emptied buffer.
  host.status.clear();
  host.between_steps = [&] {
    if (run.CurrentStep() - 1 == 500) run.Clear();
  };
  host.events.clear();
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 1000);
  EXPECT_EQ(host.status, (std::vector<std::string>{"Drawing...", "Clearing...", "Cleared", "Finished"}));
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), RunEvent::kCanvasCleared), 1);
  EXPECT_EQ(host.events.front(), RunEvent::kRunStarted);
  EXPECT_EQ(host.events.back(), RunEvent::kRunFinished);
  EXPECT_EQ(PixelAtReal(1, -1.5, 0.95), 255);  // only steps before 500 reach here
  EXPECT_LT(PixelAtReal(1, 1.5, 0.95), 255);
  EXPECT_EQ(settings_writes, 3);  // two runs and the Clear
}

TEST_F(Run, AHostThatCancelsEndsTheRunAfterTheCurrentStep) {
  host.cancel_after = 7;  // the eighth poll says cancel
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().stepsDrawn, 8);
  EXPECT_FALSE(state->flags.IsDrawing);
  EXPECT_EQ(host.events.back(), RunEvent::kRunFinished);
  EXPECT_EQ(host.status.back(), "Finished");
}

TEST_F(Run, PositionsTooFarOffTheCanvasAreCountedAndReportedOnce) {
  // A path 10^12 to the right: no sub-sample column there fits an int.
  state->params.QuorlPointsXStart = state->params.QuorlPointsXEnd = 1e12;
  state->params.Steps = 30;
  run.SetParallelWork(0);  // share even this small work between threads
  long long counted[2] = {};
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    host.messages.clear();
    run.SetThreads(threads);
    run.DrawOrStop();
    const long long off = run.Counters().offCanvas;
    EXPECT_GT(off, 0);
    EXPECT_EQ(host.messages, std::vector<std::string>{OffCanvasMessage(off)});
    counted[threads - 1] = off;
  }
  // Counted per thread and summed: the same whatever the threads.
  EXPECT_EQ(counted[0], counted[1]);

  // Half the path on the canvas: fewer are left out, and the canvas is drawn.
  state->params.QuorlPointsXStart = 0;
  host.messages.clear();
  run.DrawOrStop();
  EXPECT_GT(run.Counters().offCanvas, 0);
  EXPECT_LT(run.Counters().offCanvas, counted[1]);

  state->params.QuorlPointsXEnd = 0;
  host.messages.clear();
  run.DrawOrStop();
  EXPECT_EQ(run.Counters().offCanvas, 0);
  EXPECT_TRUE(host.messages.empty());
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

// Renders share the canvas's rows on the pool of the run that draws, from
// the render of step 0 on; one thread keeps them on the calling thread, and
// a run that ends its life leaves no pool behind in the canvas.
TEST_F(Run, TheCanvasRendersOnThePoolOfTheRunThatDraws) {
  state->params.Steps = 3;
  run.SetThreads(2);
  run.StartDrawing();
  run.Begin();
  ASSERT_NE(state->canvas.RowsSharedWith(), nullptr);
  EXPECT_EQ(state->canvas.RowsSharedWith()->Threads(), 2);
  while (run.RunStep()) {
  }
  run.Finish();
  run.SetThreads(1);
  run.DrawOrStop();
  EXPECT_EQ(state->canvas.RowsSharedWith(), nullptr);
  {
    DrawingRun other(*state, host);
    other.SetThreads(3);
    other.DrawOrStop();
    ASSERT_NE(state->canvas.RowsSharedWith(), nullptr);
    EXPECT_EQ(state->canvas.RowsSharedWith()->Threads(), 3);
  }
  EXPECT_EQ(state->canvas.RowsSharedWith(), nullptr);
}

}  // namespace
}  // namespace quorl
