// A smooth curve through a list of points (the uniform cubic B-spline of the
// points, held at both ends), read back by the fraction of its length.
//
// Use: InitBezier(N, 100); N times AddBezierPoint; BuildBezier; then any
// number of EvalX / EvalY. Building measures every span once, so reading is
// a bisection over the spans and one cubic, with no allocation.
#pragma once

#include <vector>

#include "base/point.h"

namespace quorl {

// One span of a BezierPath.
struct Section {
  double SectionLength = 0;
  double CumulativeEnd = 0;  // this span's length plus all before it
};

class BezierPath {
 public:
  // Forgets everything and prepares for N points measured with
  // `subdivisions` chords per span. Fewer than two points make no curve:
  // the result stays invalid and reads 0.
  bool InitBezier(int N, int subdivisions);
  // Stores the next point while valid; the caller adds exactly N points.
  void AddBezierPoint(double x, double y);
  // Builds controls and spans; returns the total length (0 when invalid,
  // including when fewer than N points were added).
  double BuildBezier();

  // Span i at local parameter t in [0, 1]. The caller keeps i in range.
  double BezierX(int i, double t) const;
  double BezierY(int i, double t) const;

  // The point at fraction u of the length; u is clamped into [0, 1].
  // 0 for an invalid curve.
  double EvalX(double u) const;
  double EvalY(double u) const;
  // Both coordinates with one search.
  Point Eval(double u) const;

  double GetTotalLength() const { return total_length_; }
  bool IsValid() const { return valid_; }
  int GetPointCount() const { return point_count_; }
  // What a built curve was made from, so that it can be made again exactly:
  // InitBezier(points, subdivisions), the points, BuildBezier.
  bool IsBuilt() const { return Readable(); }
  const std::vector<Point>& GivenPoints() const { return bezier_points_; }
  int GetSubdivisions() const { return subdivisions_; }

  // Release the control polygon or the spans; the curve then reads 0.
  void FreeControls() {
    controls_.clear();
    valid_ = false;
  }
  void FreeSections() {
    sections_.clear();
    valid_ = false;
  }

 private:
  // valid_ and built: a curve read between InitBezier and BuildBezier has no
  // spans yet and reads 0.
  bool Readable() const { return valid_ && !sections_.empty(); }
  // The span holding distance d along the curve, and the local parameter.
  void Locate(double u, int& span, double& t) const;
  double SpanLength(int i) const;

  std::vector<Point> bezier_points_;
  bool valid_ = false;
  int point_count_ = 0;
  int points_added_ = 0;
  // Span i uses controls 3i ... 3i+3.
  std::vector<Point> controls_;
  std::vector<Section> sections_;
  int subdivisions_ = 0;
  double total_length_ = 0;
};

}  // namespace quorl
