#include "animation/animation_paths.h"

namespace quorl {

PathAt AnimationPathOf(const CurvePoints& curve, const BezierPath& bezier) {
  return [&curve, &bezier](double u, Point& point) {
    if (curve.GetLength() < 1 || !bezier.IsValid()) return false;
    const Point at = bezier.Eval(u);
    point = {at.X, at.Y};
    return true;
  };
}

}  // namespace quorl
