#include "engine/shape_outline.h"

namespace quorl {
namespace {

Point StraightPathPoint(const ShapeArguments& a, double u) {
  return {a.path_start_x + (a.path_end_x - a.path_start_x) * u,
          a.path_start_y + (a.path_end_y - a.path_start_y) * u};
}

}  // namespace

Point PathCentre(const ShapeArguments& a, double u, double width, double height) {
  const Point start{a.path_start_x, a.path_start_y};
  const Point end{a.path_end_x, a.path_end_y};
  if (a.fn == kTest) {
    const double angle = static_cast<double>(u * kTwoPiL * height);
    return Rotated(StraightPathPoint(a, u), end, std::cos(angle) / (height + 1));
  }
  if (a.fn == kZarvk9032) {
    const double angle = static_cast<double>(u * kTwoPiL * width);
    const Point turned = Rotated(end, start, angle);
    return {turned.X + std::cos(angle) / (width + 1), turned.Y + std::sin(angle) / (width + 1)};
  }
  return StraightPathPoint(a, u);
}

}  // namespace quorl
