#include "settings/field_ranges.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <variant>

#include "base/decimal_hundredths.h"
#include "base/number_text.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

using K = FieldKind;
using F = RangeUse;

constexpr int kFunctionEllipses = 4;

// Shorthands for the rows; each says what the window's Part gives.
constexpr FieldRange Int(const char* w, const char* key, int lo, int hi, bool drag = true) {
  return {w, key, K::Integer, lo, hi, drag, lo, hi, F::Kept};
}
constexpr FieldRange Hundredths(const char* w, const char* key, FieldKind kind) {
  const int lo = kind == K::PositiveHundredths ? 0 : INT_MIN;
  return {w, key, kind, lo, INT_MAX, true, lo, INT_MAX, F::Kept};
}
constexpr FieldRange Real(const char* w, const char* key, bool drag = false) {
  return {w, key, K::Real, 0, 0, drag, 0, 0, F::Kept};
}
constexpr FieldRange Bar(const char* w, const char* key, int lo, int hi, RangeUse use = F::Kept) {
  return {w, key, K::TrackBar, lo, hi, false, 0, 0, use};
}
constexpr FieldRange BarHundredths(const char* w, const char* key, int lo, int hi) {
  return {w, key, K::TrackBarHundredths, lo, hi, false, 0, 0, F::Kept};
}

const FieldRange kFields[] = {
    // Values: typed limits; dragging Steps stops at 25000.
    {"Values", "Steps", K::Integer, 1, 60000, true, 1, 25000, F::Kept},
    Int("Values", "PercentToComplete", 1, 100),
    Hundredths("Values", "StartRadius", K::Hundredths),
    Hundredths("Values", "EndRadius", K::Hundredths),
    Int("Values", "StartIota", -3600, 3600),
    Int("Values", "EndIota", -3600, 3600),
    Int("Values", "StartBumps", -180, 180),
    Int("Values", "EndBumps", -180, 180),
    Int("Values", "StartDepth", 1, 50),
    Int("Values", "EndDepth", 1, 50),
    Hundredths("Values", "StartScale", K::PositiveHundredths),
    Hundredths("Values", "EndScale", K::PositiveHundredths),
    Int("Values", "StartGrain", 1, 1000),
    Int("Values", "EndGrain", 1, 1000),
    Int("Values", "GrainMultiplier", 1, 1000),

    // Function. The radio group is set from the style name, not from
    // FunctionNumber, so filling leaves FunctionNumber alone.
    {"Function", "FunctionNumber", K::Choice, 0, 7, false, 0, 0, F::Unused},
    Real("Function", "StartEllipseWidth", true),
    Real("Function", "StartEllipseHeight", true),
    Real("Function", "EndEllipseWidth", true),
    Real("Function", "EndEllipseHeight", true),
    {"Function", "LissaDelta", K::Integer, 1, 20, true, 1, 20, F::Kept, LowerLimit::LissaDeltaMin},
    Real("Function", "NumberOfRocks", true),
    Real("Function", "StartRockerAmount", true),
    Real("Function", "EndRockerAmount", true),
    Int("Function", "StartLimit", 1, 10, false),
    Int("Function", "EndLimit", 1, 10, false),

    // Colors: Init runs the nine track-bar handlers, which store the positions.
    Bar("Colors", "StartMaxRed", 0, 255),
    Bar("Colors", "StartMaxGreen", 0, 255),
    Bar("Colors", "StartMaxBlue", 0, 255),
    Bar("Colors", "EndMaxRed", 0, 255),
    Bar("Colors", "EndMaxGreen", 0, 255),
    Bar("Colors", "EndMaxBlue", 0, 255),
    Bar("Colors", "BgMaxRed", 0, 255),
    Bar("Colors", "BgMaxGreen", 0, 255),
    Bar("Colors", "BgMaxBlue", 0, 255),
    Int("Colors", "ThetaColorMultiplier", -20, 20),
    Int("Colors", "StepColorMultiplier", -20, 20),
    Hundredths("Colors", "StartAmount", K::PositiveHundredths),
    Hundredths("Colors", "EndAmount", K::PositiveHundredths),

    // Opacity: the window's Init sets its track bar from the parameter and
    // writes the clamped value back.
    Bar("Opacity", "Opacity", 1, 100),

    // Image dimensions: the fields hold pending values; only Apply copies
    // them into ImageWidth and ImageHeight.
    {"Image dimensions", "ImageWidth", K::Integer, 1, 6000, false, 1, 6000, F::ShownOnly},
    {"Image dimensions", "ImageHeight", K::Integer, 1, 6000, false, 1, 6000, F::ShownOnly},

    // Source image: Init sets the bars, then runs their handlers.
    Bar("Source image", "SourceImageStartThetaColorMultiplier", -20, 20),
    Bar("Source image", "SourceImageEndThetaColorMultiplier", -20, 20),
    Bar("Source image", "SourceImageStartStepColorMultiplier", -20, 20),
    Bar("Source image", "SourceImageEndStepColorMultiplier", -20, 20),
    BarHundredths("Source image", "SourceImageStartOffsetPerStep", -200, 200),
    BarHundredths("Source image", "SourceImageEndOffsetPerStep", -200, 200),
    BarHundredths("Source image", "SourceImageStartOffsetOverall", -200, 200),
    BarHundredths("Source image", "SourceImageEndOffsetOverall", -200, 200),
    BarHundredths("Source image", "SourceImageOpacityThreshold", 0, 100),

    // Points.
    Bar("Points", "QuorlPointsBezierMouse", 1, 100),
    Real("Points", "QuorlPointsXStart"),
    Real("Points", "QuorlPointsYStart"),
    Real("Points", "QuorlPointsXEnd"),
    Real("Points", "QuorlPointsYEnd"),
    Real("Points", "QuorlPointsRotateXStart"),
    Real("Points", "QuorlPointsRotateYStart"),
    Real("Points", "QuorlPointsRotateXEnd"),
    Real("Points", "QuorlPointsRotateYEnd"),

    // Path. The tab control shows the tab; an index out of range selects none.
    Int("Path", "NumberOfPathSteps", 1, 3000, false),
    {"Path", "PathTabIndex", K::Choice, 0, 3, false, 0, 0, F::ShownOnly},
    Real("Path", "PathCircleRadius"),
    Real("Path", "PathCircleBumps"),
    Real("Path", "PathCircleAmplitude"),
    Real("Path", "PathCircleRotatedBy"),
    Real("Path", "PathHypotrochoidA"),
    Real("Path", "PathHypotrochoidB"),
    Real("Path", "PathHypotrochoidH"),
    Real("Path", "PathHypotrochoidRotatedBy"),
    Real("Path", "PathEpitrochoidA"),
    Real("Path", "PathEpitrochoidB"),
    Real("Path", "PathEpitrochoidH"),
    Real("Path", "PathEpitrochoidRotatedBy"),
    Real("Path", "PathLissajousRadius1"),
    Real("Path", "PathLissajousRadius2"),
    Real("Path", "PathLissajousOmega1"),
    Real("Path", "PathLissajousOmega2"),
    Real("Path", "PathLissajousDelta1"),
    Real("Path", "PathLissajousDelta2"),
    Real("Path", "PathLissajousRotatedBy"),

    // Animation.
    Bar("Animation", "NumberOfFrames", 1, 2000),
    Bar("Animation", "AnimationOffset", 1, 10),
    Real("Animation", "AnimationChangeStartRadius"),
    Real("Animation", "AnimationChangeEndRadius"),
    Real("Animation", "AnimationChangeStartAngle"),
    Real("Animation", "AnimationChangeEndAngle"),
    Real("Animation", "AnimationChangeStartBumps"),
    Real("Animation", "AnimationChangeEndBumps"),
    Real("Animation", "AnimationChangeStartSmooth"),
    Real("Animation", "AnimationChangeEndSmooth"),
    Real("Animation", "AnimationChangeStartX"),
    Real("Animation", "AnimationChangeEndX"),
    Real("Animation", "AnimationChangeStartY"),
    Real("Animation", "AnimationChangeEndY"),
    Real("Animation", "AnimationChangeRockAmount"),
    Real("Animation", "AnimationChangeStartRockAngle"),
    Real("Animation", "AnimationChangeEndRockAngle"),
    Real("Animation", "AnimationRepeatStartRadius"),
    Real("Animation", "AnimationRepeatEndRadius"),
    Real("Animation", "AnimationRepeatStartAngle"),
    Real("Animation", "AnimationRepeatEndAngle"),
    Real("Animation", "AnimationRepeatStartBumps"),
    Real("Animation", "AnimationRepeatEndBumps"),
    Real("Animation", "AnimationRepeatStartSmooth"),
    Real("Animation", "AnimationRepeatEndSmooth"),
    Real("Animation", "AnimationRepeatStartX"),
    Real("Animation", "AnimationRepeatEndX"),
    Real("Animation", "AnimationRepeatStartY"),
    Real("Animation", "AnimationRepeatEndY"),
    Real("Animation", "AnimationRepeatRockAmount"),
    Real("Animation", "AnimationRepeatStartRockAngle"),
    Real("Animation", "AnimationRepeatEndRockAngle"),
};

int& IntParameter(ParameterSet& params, const FieldRange& field) {
  return params.*std::get<int ParameterSet::*>(FindSettingsKey(field.key)->member);
}

double& RealParameter(ParameterSet& params, const FieldRange& field) {
  return params.*std::get<double ParameterSet::*>(FindSettingsKey(field.key)->member);
}

}  // namespace

std::span<const FieldRange> FieldRanges() {
  return {kFields, std::size(kFields)};
}

const FieldRange* FindFieldRange(std::string_view key) {
  for (const FieldRange& field : kFields)
    if (key == field.key) return &field;
  return nullptr;
}

int LissaDeltaMinFor(int functionNumber) {
  return functionNumber == kFunctionEllipses ? 0 : 1;
}

void KeepInFieldRange(const FieldRange& field, ParameterSet& params, int lissaDeltaMin) {
  if (field.use != RangeUse::Kept) return;
  const int low = field.lower == LowerLimit::LissaDeltaMin ? lissaDeltaMin : field.min;
  switch (field.kind) {
    case FieldKind::Integer:
    case FieldKind::TrackBar:
    case FieldKind::Choice: {
      int& v = IntParameter(params, field);
      v = ClampToInt(v, low, field.max);
      break;
    }
    case FieldKind::Hundredths:
    case FieldKind::PositiveHundredths: {
      // The field shows value/100 and reads back floor(shown × 100).
      int& v = IntParameter(params, field);
      const long long back = FloorHundredthsOf(static_cast<double>(v) / 100.0).value_or(v);
      v = ClampToInt(back, field.min, field.max);
      break;
    }
    case FieldKind::Real: {
      // The field shows 15 significant digits and the parameter becomes them.
      double& v = RealParameter(params, field);
      v = ParseFloat(FormatFloat(v)).value_or(v);
      break;
    }
    case FieldKind::TrackBarHundredths: {
      // The bar takes floor(value × 100), clamped to its range, and the
      // parameter becomes position / 100.
      double& v = RealParameter(params, field);
      const int position = ClampToInt(FloorHundredthsOf(v).value_or(low), low, field.max);
      v = position / 100.0;
      break;
    }
  }
}

void KeepInFieldRanges(ParameterSet& params, int lissaDeltaMin) {
  for (const FieldRange& field : kFields) KeepInFieldRange(field, params, lissaDeltaMin);
  KeepCanvasSizeInRange(params);
}

void KeepCanvasSizeInRange(ParameterSet& params) {
  params.ImageWidth = std::clamp(params.ImageWidth, 1, kMaxCanvasSide);
  params.ImageHeight = std::clamp(params.ImageHeight, 1, kMaxCanvasSide);
}

}  // namespace quorl
