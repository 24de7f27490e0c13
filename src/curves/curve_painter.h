// Painting a curve, its control points and the marks of mouse editing onto a
// picture for display. The picture is always a copy of the canvas bitmap:
// neither the bitmap nor the pixel buffer ever holds a painted curve, so
// removing a curve from view is just showing the bitmap again.
#pragma once

#include <cstdint>
#include <vector>

#include "base/picture24.h"
#include "base/point.h"
#include "curves/bezier.h"
#include "curves/curve.h"

namespace quorl {

// Map entry of a pixel that belongs to no control point.
inline constexpr int kNoControlPoint = -999;

// For every canvas pixel (column, row from the top) the index of the control
// point whose square covers it, or kNoControlPoint.
class ControlPixelMap {
 public:
  // Every entry kNoControlPoint, at this size (negative sizes count as 0).
  void Initialise(int width, int height);
  // kNoControlPoint for a pixel outside the map.
  int At(int px, int py) const;
  void Set(int px, int py, int index);
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<int> cells_;
};

// How plane coordinates land on the canvas: the scale GetPixelFromReal works
// with and the canvas size.
struct CanvasGeometry {
  double scale = 2.0;
  int width = 0;
  int height = 0;
  // A control point's square spans this many pixels either side of it.
  int controlHalf = 4;

  // The canvas pixel (origin top left) of a plane point; false when it lies
  // off the canvas.
  bool ToPixel(const Point& p, int& px, int& py) const;
};

// How many samples a curve of this length is drawn with: 20000 per unit of
// length, rounded. A curve so long that sub-pixel spacing is reached long
// before is drawn with kMaxCurveSamples; a length that is not a finite
// number draws nothing.
inline constexpr long long kMaxCurveSamples = 2000000;
long long CurveSampleCount(double totalLength);

// What happens to each sample of a curve before it is painted: the offset
// first (Start and End curves are built about their centroid and shown
// where they were drawn), then the move, then a turn about `centre`, then a
// stretch about it (the live preview of whole-curve edits).
struct SampleTransform {
  Point offset;
  Point move;
  bool turn = false;
  Point centre;
  double angle = 0;   // radians, counter-clockwise
  double factor = 1;  // applied only with stretch
  bool stretch = false;

  Point Apply(Point p) const;
};

// The pixel (px, py) of `target` becomes the colour of `base` there plus 127
// in every channel, wrapping at 256: visible on any background. Pixels off
// either picture are left alone.
void PaintHighlightedPixel(Picture24& target, const Picture24& base, int px, int py);

// Paints `count` samples of `bezier`, at the fractions k / count for
// k = 0 ... count - 1, each as a highlighted pixel.
void PaintCurveSamples(Picture24& target, const Picture24& base, const BezierPath& bezier, long long count,
                       const SampleTransform& transform, const CanvasGeometry& geometry);

// Paints a square of 2 controlHalf + 1 pixels (9 x 9 at the default)
// centred on every point of `curve` that lies on the canvas and enters its
// index in `map`: a white ring around the inside in
// red r, green 0, blue 255 - r, with r = 255 * i / n rounded, so the first
// point is blue and later ones redder. Later squares cover earlier ones.
void PaintControlPoints(Picture24& target, const CurvePoints& curve, const CanvasGeometry& geometry,
                        ControlPixelMap& map);

// A control point's square for a view that paints it over the picture at a
// fixed size on screen (zoomed far in, a square of canvas pixels would grow
// with the zoom): its centre pixel and the red and blue of its inside.
struct ControlSquare {
  int x = 0;
  int y = 0;
  std::uint8_t red = 0;
  std::uint8_t blue = 0;
  bool operator==(const ControlSquare&) const = default;
};

// Enters every square in `map` as PaintControlPoints does, without painting
// (a controlHalf of 0 maps the centre pixel alone), and returns the squares
// in painting order.
std::vector<ControlSquare> MapControlPoints(const CurvePoints& curve, const CanvasGeometry& geometry,
                                            ControlPixelMap& map);

}  // namespace quorl
