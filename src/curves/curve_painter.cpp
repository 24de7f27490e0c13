#include "curves/curve_painter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "base/plane_conversion.h"

namespace quorl {

void ControlPixelMap::Initialise(int width, int height) {
  width_ = width > 0 ? width : 0;
  height_ = height > 0 ? height : 0;
  cells_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kNoControlPoint);
}

int ControlPixelMap::At(int px, int py) const {
  if (px < 0 || py < 0 || px >= width_ || py >= height_) return kNoControlPoint;
  return cells_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(px)];
}

void ControlPixelMap::Set(int px, int py, int index) {
  if (px < 0 || py < 0 || px >= width_ || py >= height_) return;
  cells_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(px)] =
      index;
}

bool CanvasGeometry::ToPixel(const Point& p, int& px, int& py) const {
  if (width <= 0 || height <= 0) return false;
  px = GetPixelFromReal(Axis::X, p.X, scale, width, height);
  const int up = GetPixelFromReal(Axis::Y, p.Y, scale, width, height);
  if (px < 0 || px >= width || up < 0) return false;
  // Counted from the bottom; the canvas counts rows from the top.
  py = height - up;
  return py >= 0 && py < height;
}

long long CurveSampleCount(double totalLength) {
  const double samples = totalLength * 20000;
  if (!std::isfinite(samples) || samples <= 0) return 0;
  if (samples >= static_cast<double>(kMaxCurveSamples)) return kMaxCurveSamples;
  return std::llround(samples);
}

Point SampleTransform::Apply(Point p) const {
  p.AddCoord(offset);
  p.AddCoord(move);
  if (turn) {
    p.RotateAbout(centre, angle);
    if (stretch) p.ScaleAbout(centre, factor);
  }
  return p;
}

void PaintHighlightedPixel(Picture24& target, const Picture24& base, int px, int py) {
  if (px < 0 || py < 0 || px >= target.Width() || py >= target.Height()) return;
  if (px >= base.Width() || py >= base.Height()) return;
  const std::uint8_t* from = base.Row(py) + 3 * static_cast<std::size_t>(px);
  std::uint8_t* to = target.Row(py) + 3 * static_cast<std::size_t>(px);
  for (int c = 0; c < 3; ++c) to[c] = static_cast<std::uint8_t>(from[c] + 127);
}

void PaintCurveSamples(Picture24& target, const Picture24& base, const BezierPath& bezier, long long count,
                       const SampleTransform& transform, const CanvasGeometry& geometry) {
  const double n = static_cast<double>(count);
  for (long long k = 0; k < count; ++k) {
    const Point p = transform.Apply(bezier.Eval(static_cast<double>(k) / n));
    int px = 0;
    int py = 0;
    if (geometry.ToPixel(p, px, py)) PaintHighlightedPixel(target, base, px, py);
  }
}

namespace {

// Enters the squares in `map` and, when `target` is given, paints them.
std::vector<ControlSquare> PlaceControlPoints(Picture24* target, const CurvePoints& curve,
                                              const CanvasGeometry& geometry, ControlPixelMap& map) {
  std::vector<ControlSquare> squares;
  const int n = curve.GetLength();
  for (int i = 0; i < n; ++i) {
    int cx = 0;
    int cy = 0;
    if (!geometry.ToPixel(curve.Points[static_cast<std::size_t>(i)], cx, cy)) continue;
    const auto r = static_cast<std::uint8_t>(std::lround(255.0 * i / n));
    squares.push_back({cx, cy, r, static_cast<std::uint8_t>(255 - r)});
    const int h = std::max(0, geometry.controlHalf);
    for (int dy = -h; dy <= h; ++dy) {
      for (int dx = -h; dx <= h; ++dx) {
        const int px = cx + dx;
        const int py = cy + dy;
        if (px < 0 || py < 0 || px >= geometry.width || py >= geometry.height) continue;
        map.Set(px, py, i);
        if (!target || px >= target->Width() || py >= target->Height()) continue;
        const bool ring = dx == -h || dx == h || dy == -h || dy == h;
        if (ring) {
          target->SetPixel(px, py, 255, 255, 255);
        } else {
          target->SetPixel(px, py, r, 0, static_cast<std::uint8_t>(255 - r));
        }
      }
    }
  }
  return squares;
}

}  // namespace

void PaintControlPoints(Picture24& target, const CurvePoints& curve, const CanvasGeometry& geometry,
                        ControlPixelMap& map) {
  CanvasGeometry painted = geometry;
  painted.controlHalf = std::max(1, geometry.controlHalf);
  PlaceControlPoints(&target, curve, painted, map);
}

std::vector<ControlSquare> MapControlPoints(const CurvePoints& curve, const CanvasGeometry& geometry,
                                            ControlPixelMap& map) {
  return PlaceControlPoints(nullptr, curve, geometry, map);
}

}  // namespace quorl
