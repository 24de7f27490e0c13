#include "animation/animation_paths.h"

namespace quorl {

PathAt AnimationPathOf(const kCurve& curve, const kBezier& bezier) {
  return [&curve, &bezier](double u, RealPoint& point) {
    if (curve.GetLength() < 1 || !bezier.IsValid()) return false;
    const kCoord at = bezier.Eval(u);
    point = {at.X, at.Y};
    return true;
  };
}

}  // namespace quorl
