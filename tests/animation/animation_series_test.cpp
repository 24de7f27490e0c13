#include "animation/animation_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "animation/animated_rows.h"
#include "animation/animation_paths.h"
#include "animation/wave_forms.h"
#include "base/host.h"
#include "curves/curve_slots.h"

namespace quorl {
namespace {

// Frame values of the start radius row for F = 10, R = 1, change 0.5
// (50 hundredths) around a start radius of 100.
std::vector<double> StartRadiusSeries(void (*setMode)(ParameterSet&), double repeat = 1) {
  ParameterSet p;
  p.StartRadius = 100;
  p.AnimationChangeStartRadius = 0.5;
  p.AnimationRepeatStartRadius = repeat;
  setMode(p);
  SeriesControls c;
  c.frames = 10;
  AnimationOverrides o;
  std::vector<double> values{0};  // index by frame number
  for (int f = 1; f <= 10; ++f) {
    ComputeFrameOverrides(p, c, f, FrameInputs{}, o);
    values.push_back(o.AnimStartRadius);
  }
  return values;
}

void Sine(ParameterSet& p) {
  p.AnimationStartRadiusSine = true;
}
void Linear(ParameterSet& p) {
  p.AnimationStartRadiusSine = false;
  p.AnimationStartRadiusLinear = true;
}
void LinearReturn(ParameterSet& p) {
  p.AnimationStartRadiusSine = false;
  p.AnimationStartRadiusLinearReturn = true;
}

TEST(WaveForms, FrameFiguresOfTheThreeForms) {
  const auto sine = StartRadiusSeries(Sine);
  EXPECT_DOUBLE_EQ(sine[1], 100);
  EXPECT_NEAR(sine[3], 147.55, 0.01);

  const auto linear = StartRadiusSeries(Linear);
  EXPECT_NEAR(linear[1], 105, 1e-12);
  EXPECT_NEAR(linear[9], 145, 1e-12);
  EXPECT_NEAR(linear[10], 100, 1e-12);

  const auto back = StartRadiusSeries(LinearReturn);
  EXPECT_NEAR(back[1], 110, 1e-12);
  EXPECT_NEAR(back[5], 150, 1e-12);
  EXPECT_NEAR(back[9], 110, 1e-12);
  EXPECT_NEAR(back[10], 100, 1e-12);

  const auto twice = StartRadiusSeries(Linear, 2);
  EXPECT_NEAR(twice[5], 100, 1e-12);
  EXPECT_NEAR(twice[6], 110, 1e-12);  // B + 0.2 C
}

TEST(WaveForms, MantissaAndNoFormKeepsThePreviousValue) {
  EXPECT_DOUBLE_EQ(Mantissa(0.25, 3), 0.75);
  EXPECT_DOUBLE_EQ(Mantissa(1.0, 2), 0.0);
  ParameterSet p;
  p.AnimationStartBumpsSine = false;
  AnimationOverrides o;
  o.AnimStartBumps = 42;
  SeriesControls c;
  c.frames = 4;
  ComputeFrameOverrides(p, c, 2, FrameInputs{}, o);
  EXPECT_EQ(o.AnimStartBumps, 42);
  EXPECT_EQ(o.AnimEndBumps, 0);  // sine with change 0 around base 0
}

TEST(FrameOverrides, PathOffsetShiftAndPhase) {
  ParameterSet p;
  SeriesControls c;
  c.frames = 12;
  c.offsetTicked = true;
  c.offsetPosition = 3;
  AnimationOverrides o;
  const double expected[] = {0.25, 0.5, 0.75, 0, 0.25};
  for (int f = 1; f <= 5; ++f) {
    ComputeFrameOverrides(p, c, f, FrameInputs{}, o);
    EXPECT_NEAR(o.AnimPathOffset, expected[f - 1], 1e-12) << f;
  }
  EXPECT_NEAR(o.AnimationPhase, 4 * 2 * std::acos(-1.0) / 12, 1e-12);
  EXPECT_NEAR(o.AnimLissaAdd, std::sin(o.AnimationPhase), 1e-15);

  // A straight start path of length 3 to the right shifts the last frame by 3.
  FrameInputs in;
  in.startPath = [](double u, Point& pt) {
    pt = {1 + 3 * u, 2};
    return true;
  };
  in.endPath = in.startPath;
  c.offsetTicked = false;
  c.moveStart = true;
  ComputeFrameOverrides(p, c, 12, in, o);
  EXPECT_NEAR(o.AnimShiftStart.X, 3, 1e-12);
  EXPECT_NEAR(o.AnimShiftStart.Y, 0, 1e-12);
  EXPECT_EQ(o.AnimShiftEnd, Point{});  // its box is not ticked
  EXPECT_EQ(o.AnimPathOffset, 0);
  // A path without a smooth curve yet shifts nothing.
  in.startPath = [](double, Point&) { return false; };
  ComputeFrameOverrides(p, c, 12, in, o);
  EXPECT_EQ(o.AnimShiftStart, Point{});
}

class RecordingHost : public SeriesHost {
 public:
  std::vector<int> made;
  std::vector<std::string> statuses;
  RunFlags* flags = nullptr;
  int stopDuringFrame = 0;
  int badRotationAtFrame = 0;
  int frameReads = 0;
  std::string error;

  bool ReadRotationPoints(Point& a, Point& b, std::string& message) override {
    if (++frameReads == badRotationAtFrame) {
      message = "'abc' is not a valid floating point value";
      return false;
    }
    a = {-1, 0};
    b = {1, 0};
    return true;
  }
  void MakeFrame(int f) override {
    EXPECT_TRUE(flags->InAnimation);
    made.push_back(f);
    if (f == stopDuringFrame) flags->StopRequested = true;
  }
  void Status(const std::string& text) override { statuses.push_back(text); }
  void ShowError(const std::string& text) override { error = text; }
};

TEST(AnimationSeries, StartFrameRangesStopAndBadInput) {
  ParameterSet p;
  AnimationOverrides o;
  RunFlags flags;
  {
    RecordingHost host;
    host.flags = &flags;
    SeriesControls c;
    c.frames = 10;
    c.startFrame = 4;
    EXPECT_EQ(RunAnimationSeries(p, c, flags, o, host), SeriesOutcome::Finished);
    EXPECT_EQ(host.made, (std::vector<int>{4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(host.statuses[0], "");
    EXPECT_EQ(host.statuses[3], "Making Frame 4");
    EXPECT_FALSE(flags.InAnimation);
    EXPECT_EQ(o.AnimRotateEnd, (Point{1, 0}));
  }
  {
    RecordingHost host;
    host.flags = &flags;
    SeriesControls c;
    c.frames = 10;
    c.firstFrame = 3;
    c.lastFrame = 5;
    RunAnimationSeries(p, c, flags, o, host);
    EXPECT_EQ(host.made, (std::vector<int>{3, 4, 5}));
  }
  {
    // A stop request while frame 2 draws: no later frame is drawn or saved.
    RecordingHost host;
    host.flags = &flags;
    host.stopDuringFrame = 2;
    SeriesControls c;
    c.frames = 6;
    EXPECT_EQ(RunAnimationSeries(p, c, flags, o, host), SeriesOutcome::StoppedEarly);
    EXPECT_EQ(host.made, (std::vector<int>{1, 2}));
  }
  {
    RecordingHost host;
    host.flags = &flags;
    host.badRotationAtFrame = 3;
    SeriesControls c;
    c.frames = 6;
    EXPECT_EQ(RunAnimationSeries(p, c, flags, o, host), SeriesOutcome::FailedOnInput);
    EXPECT_EQ(host.made, (std::vector<int>{1, 2}));
    EXPECT_FALSE(host.error.empty());
    EXPECT_FALSE(flags.InAnimation);
    EXPECT_EQ(o.AnimPathOffset, 0);
  }
}

TEST(AnimationSeries, LiveControlsAreReadBeforeEveryFrameButNotTheCount) {
  class LiveHost : public RecordingHost {
   public:
    void ReadLiveControls(SeriesControls& c) override {
      c.frames = 99;
      c.startFrame = 3;  // moved during the series
      c.moveStart = true;
    }
    PathAt StartPath() override {
      return [](double u, Point& pt) {
        pt = {2 * u, 0};
        return true;
      };
    }
  };
  ParameterSet p;
  AnimationOverrides o;
  RunFlags flags;
  LiveHost host;
  host.flags = &flags;
  SeriesControls c;
  c.frames = 4;
  RunAnimationSeries(p, c, flags, o, host);
  EXPECT_EQ(host.made, (std::vector<int>{3, 4}));
  EXPECT_NEAR(o.AnimShiftStart.X, 2, 1e-12);
}

TEST(AnimationPaths, ReadOnlyOnceTheSmoothCurveIsBuilt) {
  CurveSlots curves;
  const PathAt path = AnimationPathOf(curves.AnimStartPathCurve, curves.AnimStartPathBezier);
  Point at{7, 7};
  EXPECT_FALSE(path(0.5, at));  // no points

  for (int i = 0; i < 4; ++i) curves.AnimStartPathCurve.AddPoint(i, 1);
  curves.SetUpBezier(BezierKind::kAnimStart, 0);
  EXPECT_FALSE(path(0.5, at));  // too few points for a smooth curve

  curves.AnimStartPathCurve.AddPoint(4, 1);
  curves.SetUpBezier(BezierKind::kAnimStart, 0);
  ASSERT_TRUE(path(0.0, at));
  EXPECT_NEAR(at.X, 0, 1e-9);
  EXPECT_NEAR(at.Y, 1, 1e-9);
  ASSERT_TRUE(path(1.0, at));
  EXPECT_NEAR(at.X, 4, 1e-9);

  // Emptied for a new stroke: nothing until it is built again.
  curves.AnimStartPathCurve.Empty();
  EXPECT_FALSE(path(1.0, at));
}

TEST(AnimatedRows, EveryRowHasItsOwnTarget) {
  std::vector<double AnimationOverrides::*> seen;
  for (const AnimatedRow& row : AnimatedRows()) {
    for (auto t : seen) EXPECT_NE(t, row.target) << row.name;
    seen.push_back(row.target);
  }
  EXPECT_EQ(seen.size(), 15u);
}

}  // namespace
}  // namespace quorl
