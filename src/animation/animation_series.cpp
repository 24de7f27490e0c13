#include "animation/animation_series.h"

#include <cmath>

#include "animation/animated_rows.h"
#include "animation/wave_forms.h"

namespace quorl {
namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559L;

Point ShiftAlong(const PathAt& path, bool ticked, double u) {
  if (!ticked || !path) return {};
  Point at, origin;
  if (!path(u, at) || !path(0.0, origin)) return {};
  return {at.X - origin.X, at.Y - origin.Y};
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
      case WaveForm::Sine:
        o.*row.target = SineWave(theta, R, C, B);
        break;
      case WaveForm::Linear:
        o.*row.target = LinearWave(u, R, C, B);
        break;
      case WaveForm::LinearReturn:
        o.*row.target = LinearReturnWave(u, R, C, B);
        break;
      case WaveForm::None:
        break;  // keeps the previous frame's value
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
  SeriesStepper series(p, controls, flags, o);
  series.Begin();
  while (series.NextFrame(host)) {
    host.MakeFrame(series.Frame());
    series.FrameMade();
  }
  return series.End();
}

SeriesStepper::SeriesStepper(const ParameterSet& p, const SeriesControls& controls, RunFlags& flags,
                             AnimationOverrides& o)
    : p_(p), controls_(controls), flags_(flags), o_(o) {}

void SeriesStepper::Begin() {
  flags_.StopRequested = false;
  o_.AnimationPhase = 0;
  flags_.InAnimation = true;
  frame_ = 0;
  stopped_ = false;
  failed_ = false;
}

bool SeriesStepper::NextFrame(SeriesView& view) {
  const int F = controls_.frames;
  while (!failed_ && frame_ < F) {
    const int f = ++frame_;
    view.ReadLiveControls(controls_);
    controls_.frames = F;

    FrameInputs inputs;
    std::string error;
    if (!view.ReadRotationPoints(inputs.rotateStart, inputs.rotateEnd, error)) {
      view.ShowError(error);
      failed_ = true;
      return false;
    }
    inputs.startPath = view.StartPath();
    inputs.endPath = view.EndPath();
    view.ShowFrame(f);
    ComputeFrameOverrides(p_, controls_, f, inputs, o_);

    // "Stop" can be ticked and unticked during a series; a stop request
    // (Draw/Stop while a frame draws) ends the drawing for good.
    if (!stopped_ && !view.StopTicked() && IsFrameDrawn(controls_, f)) {
      view.Status("Making Frame " + std::to_string(f));
      return true;
    }
    view.Status("");
  }
  return false;
}

void SeriesStepper::FrameMade() {
  if (flags_.StopRequested) stopped_ = true;
}

SeriesOutcome SeriesStepper::End() {
  flags_.InAnimation = false;
  o_.AnimationPhase = 0;
  o_.AnimPathOffset = 0;
  if (failed_) return SeriesOutcome::FailedOnInput;
  return stopped_ ? SeriesOutcome::StoppedEarly : SeriesOutcome::Finished;
}

}  // namespace quorl
