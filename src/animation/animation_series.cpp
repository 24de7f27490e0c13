#include "animation/animation_series.h"

#include <cmath>

#include "animation/animated_rows.h"
#include "animation/wave_forms.h"

namespace quorl {
namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559L;

RealPoint ShiftAlong(const PathAt& path, bool ticked, double u) {
  if (!ticked || !path) return {};
  RealPoint at, origin;
  if (!path(u, at) || !path(0.0, origin)) return {};
  return {at.x - origin.x, at.y - origin.y};
}

}  // namespace

void ComputeFrameOverrides(const ParameterSet& p, const SeriesControls& c, int f, const FrameInputs& in,
                           AnimationOverrides& o) {
  const int F = c.frames > 0 ? c.frames : 1;
  const double u = static_cast<double>(f) / F;
  if (c.offsetTicked) {
    const double t = c.offsetPosition * u;
    o.AnimPathOffset = t - std::floor(t);
  } else {
    o.AnimPathOffset = 0;
  }
  const double theta = static_cast<double>(static_cast<long double>(f - 1) * kTwoPi / F);
  o.AnimationPhase = theta;

  for (const AnimatedRow& row : AnimatedRows()) {
    const double B = row.base(p);
    const double C = p.*row.change * row.changeScale;
    const double R = p.*row.repeat;
    switch (WaveFormOf(p, row)) {
      case WaveForm::Sine: o.*row.target = doSine(theta, R, C, B); break;
      case WaveForm::Linear: o.*row.target = doLinear(u, R, C, B); break;
      case WaveForm::LinearReturn: o.*row.target = doLinearReturn(u, R, C, B); break;
      case WaveForm::None: break;  // keeps the previous frame's value
    }
  }

  o.AnimRotateStart = in.rotateStart;
  o.AnimRotateEnd = in.rotateEnd;
  o.AnimShiftStart = ShiftAlong(in.startPath, c.moveStart, u);
  o.AnimShiftEnd = ShiftAlong(in.endPath, c.moveEnd, u);
  o.AnimLissaAdd = std::sin(theta);
}

bool IsFrameDrawn(const SeriesControls& c, int f) {
  return f >= c.startFrame && f >= c.firstFrame && f <= c.lastFrame;
}

SeriesOutcome RunAnimationSeries(const ParameterSet& p, SeriesControls controls, RunFlags& flags,
                                 AnimationOverrides& o, SeriesHost& host) {
  flags.StopRequested = false;
  o.AnimationPhase = 0;
  flags.InAnimation = true;
  SeriesOutcome outcome = SeriesOutcome::Finished;
  bool stopped = false;

  const int F = controls.frames;
  for (int f = 1; f <= F; ++f) {
    FrameInputs inputs;
    std::string error;
    if (!host.ReadRotationPoints(inputs.rotateStart, inputs.rotateEnd, error)) {
      host.ShowError(error);
      outcome = SeriesOutcome::FailedOnInput;
      break;
    }
    inputs.startPath = host.StartPath();
    inputs.endPath = host.EndPath();
    host.ShowFrame(f);
    ComputeFrameOverrides(p, controls, f, inputs, o);

    // "Stop" can be ticked and unticked during a series; a stop request
    // (Draw/Stop while a frame draws) ends the drawing for good.
    if (!stopped && !host.StopTicked() && IsFrameDrawn(controls, f)) {
      host.Status("Making Frame " + std::to_string(f));
      host.MakeFrame(f);
      if (flags.StopRequested) stopped = true;
    } else {
      host.Status("");
    }
  }

  if (stopped && outcome == SeriesOutcome::Finished) outcome = SeriesOutcome::StoppedEarly;
  flags.InAnimation = false;
  o.AnimationPhase = 0;
  o.AnimPathOffset = 0;
  return outcome;
}

}  // namespace quorl
