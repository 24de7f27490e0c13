#include "services/path_generators.h"

#include <algorithm>
#include <cmath>

#include "base/angles.h"
#include "base/number_text.h"
#include "curves/curve.h"
#include "services/curve_edit_session.h"
#include "settings/parameter_set.h"

namespace quorl {

namespace {

constexpr int kMinPathSteps = 1;
constexpr int kMaxPathSteps = 3000;

bool KnownKind(int kind) {
  return kind >= 1 && kind <= 4;
}

// The unturned point of the figure at angle t.
Point FigurePoint(const PathFigure& f, double t) {
  const std::vector<double>& v = f.shape;
  switch (f.kind) {
    case PathKind::Circle: {
      const double radius = v[0] + v[2] * std::sin(v[1] * t);
      return {radius * std::cos(t), radius * std::sin(t)};
    }
    case PathKind::Hypotrochoid: {
      const double a = v[0], b = v[1], h = v[2];
      return {(a - b) * std::cos(t) + h * std::cos(((a - b) / b) * t),
              (a - b) * std::sin(t) - h * std::sin(((a - b) / b) * t)};
    }
    case PathKind::Epitrochoid: {
      const double a = v[0], b = v[1], h = v[2];
      return {(a + b) * std::cos(t) - h * std::cos(((a + b) / b) * t),
              (a + b) * std::sin(t) - h * std::sin(((a + b) / b) * t)};
    }
    case PathKind::Lissajous:
      return {v[0] * std::sin(v[2] * t + v[4]), v[1] * std::sin(v[3] * t + v[5])};
  }
  return {};
}

const char* MadeMessage(PathKind kind) {
  switch (kind) {
    case PathKind::Circle:
      return "Made new circle path";
    case PathKind::Hypotrochoid:
      return "Made new hypotrochoid path";
    case PathKind::Epitrochoid:
      return "Made new epitrochoid path";
    case PathKind::Lissajous:
      return "Made new lissajous path";
  }
  return "";
}

}  // namespace

int ShapeValueCount(PathKind kind) {
  return kind == PathKind::Lissajous ? 6 : 3;
}

const char* ShapeFieldsMessage(PathKind kind) {
  switch (kind) {
    case PathKind::Circle:
      return "Please fill in radius, bumps and amplitude with numbers. e.g 1, 0.5, -0.3";
    case PathKind::Hypotrochoid:
    case PathKind::Epitrochoid:
      return "Please fill in a, b and h with numbers. e.g 1, 0.5, -0.3";
    case PathKind::Lissajous:
      return "Please fill in alpha, beta, delta and omega with numbers. e.g 1, 0.5, -0.3";
  }
  return "";
}

std::optional<std::vector<double>> ReadShapeValues(PathKind kind, std::span<const std::string> texts) {
  const int count = ShapeValueCount(kind);
  if (static_cast<int>(texts.size()) < count) return std::nullopt;
  std::vector<double> values;
  for (int i = 0; i < count; ++i) {
    const std::optional<double> value = ParseFloat(texts[static_cast<size_t>(i)]);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

PathFigure FigureFromParameters(PathKind kind, std::vector<double> shape, const ParameterSet& params) {
  // Direction and turn of each generator, by kind 1 ... 4.
  struct Switches {
    bool ParameterSet::*clockwise;
    double ParameterSet::*rotatedBy;
  };
  static constexpr Switches kSwitches[] = {
      {&ParameterSet::PathCircleClockwise, &ParameterSet::PathCircleRotatedBy},
      {&ParameterSet::PathHypotrochoidClockwise, &ParameterSet::PathHypotrochoidRotatedBy},
      {&ParameterSet::PathEpitrochoidClockwise, &ParameterSet::PathEpitrochoidRotatedBy},
      {&ParameterSet::PathLissajousClockwise, &ParameterSet::PathLissajousRotatedBy},
  };
  const Switches& switches = kSwitches[std::clamp(static_cast<int>(kind), 1, 4) - 1];
  PathFigure figure;
  figure.kind = kind;
  figure.shape = std::move(shape);
  figure.steps = params.NumberOfPathSteps;
  figure.clockwise = params.*switches.clockwise;
  figure.rotatedBy = params.*switches.rotatedBy;
  return figure;
}

bool GeneratePath(const PathFigure& figure, CurvePoints& target) {
  target.Empty();
  if (static_cast<int>(figure.shape.size()) < ShapeValueCount(figure.kind)) return false;
  const bool trochoid = figure.kind == PathKind::Hypotrochoid || figure.kind == PathKind::Epitrochoid;
  if (trochoid && figure.shape[1] == 0) return false;

  // A count outside the field's range (from a hand-edited settings file)
  // would divide by zero or make millions of points.
  const int n = std::clamp(figure.steps, kMinPathSteps, kMaxPathSteps);
  const double delta = figure.clockwise ? -2 * kPi / n : 2 * kPi / n;
  const double r = figure.rotatedBy * kPi / 180;
  const double cos_r = std::cos(r);
  const double sin_r = std::sin(r);
  for (int i = 0; i <= n; ++i) {
    const double t = i * delta;
    const Point p = FigurePoint(figure, t);
    target.AddPoint(cos_r * p.X - sin_r * p.Y, sin_r * p.X + cos_r * p.Y);
  }
  return true;
}

void MakePath(CurveEditSession& session, int kind, std::span<const std::string> shapeTexts) {
  if (!session.SlotSelected()) {
    session.ShowMessage("No target curve selected, please select \"Set curve\" in the points form");
    return;
  }
  if (!KnownKind(kind)) {
    session.ShowMessage("Hmm, there seems to be a problem with the kind of path: " + std::to_string(kind));
    return;
  }
  const auto path_kind = static_cast<PathKind>(kind);
  session.ShowStatus("drawing path...");
  session.SetBusy(true);
  const std::optional<std::vector<double>> shape = ReadShapeValues(path_kind, shapeTexts);
  if (!shape) {
    // Read before the curve is emptied, so it keeps its points.
    session.ShowMessage(ShapeFieldsMessage(path_kind));
  } else if (GeneratePath(FigureFromParameters(path_kind, *shape, session.Params()),
                          session.Selected().Curve)) {
    session.SetUpBezier(BezierKind::kSlot);
    session.ShowStatus(MadeMessage(path_kind));
  }
  session.SetBusy(false);
  session.ShowSelectedCurve();
}

}  // namespace quorl
