#include "base/step_arithmetic.h"

#include <cmath>

namespace quorl {

double Interpolate(double y1, double y2, double x1, double x, double x2) {
  if (x1 == x2) return (y1 + y2) / 2;
  return ((x - x1) * y2 + (x2 - x) * y1) / (x2 - x1);
}

double RotatePointByIota(Axis axis, double x, double y, double cx, double cy, double angle) {
  if (axis == Axis::X) return std::cos(angle) * (x - cx) - std::sin(angle) * (y - cy) + cx;
  return std::sin(angle) * (x - cx) + std::cos(angle) * (y - cy) + cy;
}

double DistanceOfPoint(double dx, double dy) {
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace quorl
