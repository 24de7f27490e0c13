// The eight shape functions: where a step's outline point lies for an angle,
// and where the step's centre lies on its path. A step's constants are fixed
// in an Outline once; At is then called for every point, so it stays inline.
#pragma once

#include <cmath>

#include "base/angles.h"
#include "base/point.h"
#include "base/step_arithmetic.h"
#include "curves/curve_slots.h"
#include "engine/shape_step.h"

namespace quorl {

inline Point Rotated(Point p, Point about, double angle) {
  return {RotatePointByIota(Axis::X, p.X, p.Y, about.X, about.Y, angle),
          RotatePointByIota(Axis::Y, p.X, p.Y, about.X, about.Y, angle)};
}

// The step's centre on its path, before the centre mode applies.
Point PathCentre(const ShapeArguments& a, double u, double width, double height);

// Per-step constants of the outline loop.
struct Outline {
  int fn;
  int step;
  int steps;
  double r, b, d, D;
  double cx, cy;
  double width, height;  // StepEllipseWidth, StepEllipseHeight
  double ex, ey;         // EllipseFactorX, EllipseFactorY
  double lissa_delta;
  double test_l;  // LissaDelta + 1 + AnimLissaAdd
  bool ellipses_two;
  bool from_curves;
  bool start_as_end;
  double point_count;  // N
  const CurveSlots* curves;

  // The outline point for angle theta (cosine c, sine s), point index i and
  // rotation phi.
  double Bump(double theta) const { return std::sin(theta * b) / d; }

  Point At(double theta, double c, double s, int i, double phi) const {
    if (from_curves) {
      const double beta = Bump(theta);
      const double t = i / point_count;
      const Point start = (*curves)[kStartCurveSlot].Bezier.Eval(t);
      double ox = start.X, oy = start.Y;
      if (!start_as_end) {
        const Point end = (*curves)[kEndCurveSlot].Bezier.Eval(t);
        ox = Interpolate(start.X, end.X, 0, step, steps);
        oy = Interpolate(start.Y, end.Y, 0, step, steps);
      }
      if (fn == kEllipses) return {r * ex * ox * (2 - beta) / 2 + cx, r * ey * oy * (2 - beta) / 2 + cy};
      return {r * ox * (2 - beta) / 2 + cx, r * oy * (2 - beta) / 2 + cy};
    }
    switch (fn) {
      case kTanThing: {
        const double a = -theta * b;
        const double beta = std::sin(a) / std::cos(a) / d;
        return {r * c * (2 - beta) / 2 + cx, r * s * (2 - beta) / 2 + cy};
      }
      case kLine: {
        const double beta = std::sin(theta * b) / (d / 2);
        if (beta == 0) return {cx, cy + c};
        return {cx + beta / beta, cy + c / beta};
      }
      default:
        break;
    }
    const double beta = Bump(theta);
    switch (fn) {
      case kCircles: {
        const double c5 = c * c * c * c * c;
        const double s5 = s * s * s * s * s;
        return {r * c5 * (1 + beta) + cx, r * s5 * (1 - beta) + cy};
      }
      case kEllipses: {
        if (!ellipses_two) return {r * ex * c * (2 - beta) / 2 + cx, r * ey * s * (2 - beta) / 2 + cy};
        const Point stretched{(1 + beta) * (r * ex * c + cx), (1 - beta) * (r * ey * s + cy)};
        const double psi = (phi - D / 37) * (D / 37 + 1);
        return Rotated(stretched, {cx, cy}, psi);
      }
      case kLissajous:
        return {0.75 * r * std::sin(width * theta + D) * (2 - beta) / 2 + cx,
                0.75 * r * std::sin(height * theta) * (2 - beta) / 2 + cy};
      case kTest:
        return {(r + beta) * (c + std::cos(width * theta / test_l)) / 2 + cx,
                (r + beta) * (s + std::sin(width * theta / test_l)) / 2 + cy};
      case kZarvk9032:
        return {(std::cos(width * theta) / (lissa_delta + 1) + r + beta) * c + cx,
                (std::sin(width * theta) / (lissa_delta + 1) + r + beta) * s + cy};
      default:  // kSineWobble
        return {r * c * (2 - beta) / 2 + cx, r * s * (2 - beta) / 2 + cy};
    }
  }
};

}  // namespace quorl
