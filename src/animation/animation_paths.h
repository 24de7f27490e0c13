// The two paths drawn for an animation, as a series reads them.
#pragma once

#include "animation/animation_series.h"
#include "curves/bezier.h"
#include "curves/curve.h"

namespace quorl {

// The point of a path at fraction u of its length. Reads nothing (so shifts
// nothing) while the path's curve is empty or its smooth curve has not been
// built, which needs five points. The curve and Bezier must outlive the
// returned reader; they are read at each call, not copied.
PathAt AnimationPathOf(const CurvePoints& curve, const BezierPath& bezier);

}  // namespace quorl
