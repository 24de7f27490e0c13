#include "engine/run_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/sealed_file.h"
#include "curves/curve_record.h"
#include "support/engine_test_support.h"

namespace quorl {
namespace {

// A small picture that uses what a run carries from step to step: random
// scatter, a path curve, a radius curve and a source picture.
void SetUpScene(ProgramState& state, int function) {
  ParameterSet& p = state.params;
  p.ImageWidth = 40;
  p.ImageHeight = 32;
  p.Steps = 60;
  p.PercentToComplete = 100;
  p.GrainMultiplier = 10;
  p.FunctionNumber = function;
  p.StartRadius = 60;
  p.EndRadius = 140;
  p.UseSourceImage = true;
  Picture24 source(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      source.SetPixel(x, y, static_cast<std::uint8_t>(30 * x), static_cast<std::uint8_t>(40 * y), 99);
  state.source.SetPicture(source);
  for (int i = 0; i < 9; ++i)
    state.curves[0].Curve.AddPoint(std::cos(i * 0.7) * 0.8, std::sin(i * 0.5) * 0.6);
  for (int i = 0; i < 6; ++i) state.curves[3].Curve.AddPoint(i * 0.3 - 0.8, 0.2 * (i % 3));
  for (int slot : {0, 3}) {
    state.curves.UseForcedCurveIndex = true;
    state.curves.ForcedCurveIndex = slot;
    state.curves.SetUpBezier(BezierKind::kSlot, slot);
  }
  state.curves.UseForcedCurveIndex = false;
  state.random = SeededRandom(77);
  state.canvas.SetImageDimensions(p);
  state.canvas.MakePictureBlack(p, state.background);
}

bool SameGrids(const CanvasGrids& a, const CanvasGrids& b) {
  return a.width == b.width && a.height == b.height && a.keepPicture == b.keepPicture &&
         a.pixels.size() == b.pixels.size() &&
         std::memcmp(a.pixels.data(), b.pixels.data(), a.pixels.size() * sizeof(double)) == 0 &&
         std::memcmp(a.background.data(), b.background.data(), a.background.size() * sizeof(double)) == 0 &&
         std::memcmp(a.normal.data(), b.normal.data(), a.normal.size() * sizeof(double)) == 0 &&
         a.firstStep == b.firstStep;
}

class RunState : public ::testing::Test {
 protected:
  testing::TestHost host;
};

TEST_F(RunState, StoppedAndContinuedInAFreshStateDrawsWhatAnUninterruptedRunDraws) {
  // Every function, stopping at the first step, mid-way and at the last.
  for (int function = 0; function < 8; ++function) {
    auto whole = std::make_unique<ProgramState>();
    SetUpScene(*whole, function);
    DrawingRun wholeRun(*whole, host);
    wholeRun.DrawOrStop();

    for (long long stopAfter : {0LL, 23LL, 59LL}) {
      auto first = std::make_unique<ProgramState>();
      SetUpScene(*first, function);
      DrawingRun firstRun(*first, host);
      firstRun.StartDrawing();
      firstRun.Begin();
      while (firstRun.CurrentStep() <= stopAfter && firstRun.RunStep()) {
      }
      const std::string payload = EncodeRunSnapshot(TakeRunSnapshot(*first, firstRun.Position()));
      first.reset();

      RunSnapshot snapshot;
      std::string error;
      ASSERT_TRUE(DecodeRunSnapshot(payload, snapshot, error)) << error;
      const RunPosition position = snapshot.position;
      auto second = std::make_unique<ProgramState>();
      ASSERT_TRUE(ApplyRunSnapshot(std::move(snapshot), *second, error)) << error;
      DrawingRun secondRun(*second, host);
      secondRun.SetThreads(2);
      secondRun.StartDrawing();
      secondRun.Resume(position);
      while (secondRun.RunStep()) {
      }
      secondRun.Finish();
      EXPECT_TRUE(SameGrids(second->canvas.CopyGrids(), whole->canvas.CopyGrids()))
          << "function " << function << " stopped after " << stopAfter;
      EXPECT_EQ(second->canvas.Bitmap(), whole->canvas.Bitmap());
      EXPECT_EQ(secondRun.Counters().stepsDrawn, wholeRun.Counters().stepsDrawn);
    }
  }
}

TEST_F(RunState, ASnapshotKeepsTheRecipeTheRandomNumbersAndThePictures) {
  ProgramState state;
  SetUpScene(state, 5);
  state.params.CurrentStyle = "lissajous";
  state.params.StartMaxRed = 0.1 + 0.2;  // not exact in decimal text
  state.step.StepColor[1] = 1.0 / 3;
  state.anim.AnimRotateEnd = Point{0.25, -1e-300};
  state.flags.Preview = true;
  state.background.SetPicture(Picture24(3, 2));
  RunPosition position;
  position.step = 12;
  position.iterations = 61;
  position.loopEnded = false;
  position.delta = 2.0 / 7;

  RunSnapshot snapshot;
  std::string error;
  ASSERT_TRUE(DecodeRunSnapshot(EncodeRunSnapshot(TakeRunSnapshot(state, position)), snapshot, error))
      << error;
  ProgramState back;
  ASSERT_TRUE(ApplyRunSnapshot(std::move(snapshot), back, error)) << error;
  EXPECT_EQ(back.params, state.params);
  EXPECT_TRUE(SameCurvePoints(back.curves, state.curves));
  EXPECT_EQ(back.curves[0].Bezier.EvalX(0.37), state.curves[0].Bezier.EvalX(0.37));
  EXPECT_EQ(back.step.StepColor[1], state.step.StepColor[1]);
  EXPECT_EQ(back.anim.AnimRotateEnd, state.anim.AnimRotateEnd);
  EXPECT_TRUE(back.flags.Preview);
  EXPECT_EQ(back.source.Bitmap, state.source.Bitmap);
  EXPECT_EQ(back.background.BackgroundWidth, 3);
  EXPECT_TRUE(SameGrids(back.canvas.CopyGrids(), state.canvas.CopyGrids()));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(back.random.Random(), state.random.Random());
}

TEST_F(RunState, DamagedContentsAreRefusedAndLeaveTheStateAlone) {
  ProgramState state;
  SetUpScene(state, 0);
  state.params.ImageWidth = 6;
  state.params.ImageHeight = 4;
  state.canvas.SetImageDimensions(state.params);
  const std::string payload = EncodeRunSnapshot(TakeRunSnapshot(state, RunPosition{}));
  RunSnapshot snapshot;
  std::string error;
  // Cut anywhere: refused.
  for (std::size_t length = 0; length < payload.size(); length += 7) {
    EXPECT_FALSE(DecodeRunSnapshot(payload.substr(0, length), snapshot, error)) << length;
  }
  // Trailing bytes: refused.
  EXPECT_FALSE(DecodeRunSnapshot(payload + "x", snapshot, error));
  // A damaged random state reads as a string but is refused when applied,
  // and the canvas stays as it was.
  RunSnapshot bad = TakeRunSnapshot(state, RunPosition{});
  bad.random = "12 not a generator";
  ProgramState target;
  target.params.ImageWidth = 3;
  target.params.ImageHeight = 3;
  target.canvas.SetImageDimensions(target.params);
  EXPECT_FALSE(ApplyRunSnapshot(std::move(bad), target, error));
  EXPECT_EQ(target.canvas.CanvasWidth(), 3);
}

TEST_F(RunState, AStateFileOnDiskRefusesAutosavesAndDamage) {
  ProgramState state;
  SetUpScene(state, 2);
  const std::string path = ::testing::TempDir() + "/run_state_test.qstate";
  std::string error;
  ASSERT_TRUE(WriteRunStateFile(path, kStateFileKind, TakeRunSnapshot(state, RunPosition{}), error)) << error;
  RunSnapshot snapshot;
  EXPECT_TRUE(ReadRunStateFile(path, kStateFileKind, snapshot, error)) << error;
  EXPECT_FALSE(ReadRunStateFile(path, kAutosaveKind, snapshot, error));
  EXPECT_FALSE(ReadRunStateFile(path + ".missing", kStateFileKind, snapshot, error));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace quorl
