// Between canvas pixels and the plane the curves live in. With S the scale
// (a Scale parameter / 100) and a canvas W x H pixels, the canvas covers
// x from -S*W/H to S*W/H and y from -S (bottom) to S (top).
#pragma once

#include "base/point.h"
#include "base/step_arithmetic.h"

namespace quorl {

// A canvas column / row (origin top left) to the plane, and both at once,
// for a plane of half-height scale.
double ConvertXtoXCoord(double px, double scale, int width, int height);
double ConvertYtoYCoord(double py, double scale, int height);
Point ConvertMouseToCoord(double px, double py, double scale, int width, int height);

// Counts plane values whose pixel index would not fit an int (far off the
// canvas, infinite or NaN). A run resets it at its start and reports once
// at its end if it is not zero, instead of once per point.
struct PixelRangeFaults {
  long long Count = 0;
  void Reset() { Count = 0; }
};

// A plane coordinate to a pixel index of the pixel buffer: a column for
// Axis::X, a row counted up from the bottom row for Axis::Y. -1 left of or
// below the canvas, and for a value whose index does not fit an int (which
// is also counted in *faults when given). Larger indices are returned as
// they are; the caller checks them against the canvas size.
inline int GetPixelFromReal(Axis axis, double value, double scale, int width, int height,
                            PixelRangeFaults* faults = nullptr) {
  const double v = axis == Axis::X ? (value + scale * width / height) * height : (value + scale) * height;
  if (v < 0) return -1;
  const double index = v / (2 * scale);
  // Written so that NaN fails too; the lower bound matters only for a
  // negative scale.
  if (!(index < 2147483648.0 && index > -2147483649.0)) {
    if (faults) ++faults->Count;
    return -1;
  }
  return static_cast<int>(index);
}

}  // namespace quorl
