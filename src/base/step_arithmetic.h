// Arithmetic shared by the run, the shape functions, colouring and curves.
#pragma once

namespace quorl {

// The straight-line value through (x1, y1) and (x2, y2) at x; the mean of
// y1 and y2 when x1 == x2.
double Interpolate(double y1, double y2, double x1, double x, double x2);

enum class Axis { X, Y };

// One coordinate of (x, y) rotated about (cx, cy) by angle radians.
double RotatePointByIota(Axis axis, double x, double y, double cx, double cy, double angle);

double DistanceOfPoint(double dx, double dy);

}  // namespace quorl
