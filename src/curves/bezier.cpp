#include "curves/bezier.h"

#include <algorithm>
#include <cmath>

namespace quorl {
namespace {

double Cubic(double c0, double c1, double c2, double c3, double t) {
  const double s = 1 - t;
  return s * s * s * c0 + 3 * s * s * t * c1 + 3 * s * t * t * c2 + t * t * t * c3;
}

}  // namespace

bool BezierPath::InitBezier(int N, int subdivisions) {
  bezier_points_.clear();
  controls_.clear();
  sections_.clear();
  valid_ = false;
  points_added_ = 0;
  total_length_ = 0;
  point_count_ = N;
  subdivisions_ = subdivisions;
  // Reading needs at least one span.
  if (N < 2) return false;
  const size_t n = static_cast<size_t>(N);
  bezier_points_.resize(n);
  controls_.resize(3 * n - 2);
  valid_ = true;
  return true;
}

void BezierPath::AddBezierPoint(double x, double y) {
  if (!valid_) return;
  // Points beyond the announced count are counted, not stored, so that
  // BuildBezier refuses the curve.
  if (points_added_ < point_count_) bezier_points_[static_cast<size_t>(points_added_)] = Point{x, y};
  ++points_added_;
}

double BezierPath::BuildBezier() {
  if (points_added_ != point_count_) valid_ = false;
  if (!valid_) return 0;
  const std::vector<Point>& P = bezier_points_;
  const size_t n = P.size();
  // The thirds of every leg ...
  for (size_t i = 0; i + 1 < n; ++i) {
    controls_[3 * i + 1] = Point{(2 * P[i].X + P[i + 1].X) / 3, (2 * P[i].Y + P[i + 1].Y) / 3};
    controls_[3 * i + 2] = Point{(P[i].X + 2 * P[i + 1].X) / 3, (P[i].Y + 2 * P[i + 1].Y) / 3};
  }
  // ... and the joints halfway between neighbouring thirds, which makes the
  // curve a B-spline that passes near, not through, the inner points.
  for (size_t j = 1; j + 1 < n; ++j) {
    controls_[3 * j] = Point{(controls_[3 * j - 1].X + controls_[3 * j + 1].X) / 2,
                             (controls_[3 * j - 1].Y + controls_[3 * j + 1].Y) / 2};
  }
  controls_[0] = P[0];
  controls_[3 * (n - 1)] = P[n - 1];

  sections_.resize(n - 1);
  total_length_ = 0;
  for (size_t i = 0; i + 1 < n; ++i) {
    sections_[i].SectionLength = SpanLength(static_cast<int>(i));
    total_length_ += sections_[i].SectionLength;
    sections_[i].CumulativeEnd = total_length_;
  }
  return total_length_;
}

double BezierPath::SpanLength(int i) const {
  if (subdivisions_ <= 0) return 0;
  double prevX = BezierX(i, 0);
  double prevY = BezierY(i, 0);
  double length = 0;
  for (int k = 1; k <= subdivisions_; ++k) {
    const double t = static_cast<double>(k) / subdivisions_;
    const double curX = BezierX(i, t);
    const double curY = BezierY(i, t);
    length += std::sqrt((curX - prevX) * (curX - prevX) + (curY - prevY) * (curY - prevY));
    prevX = curX;
    prevY = curY;
  }
  return length;
}

double BezierPath::BezierX(int i, double t) const {
  const Point* c = &controls_[3 * static_cast<size_t>(i)];
  return Cubic(c[0].X, c[1].X, c[2].X, c[3].X, t);
}

double BezierPath::BezierY(int i, double t) const {
  const Point* c = &controls_[3 * static_cast<size_t>(i)];
  return Cubic(c[0].Y, c[1].Y, c[2].Y, c[3].Y, t);
}

void BezierPath::Locate(double u, int& span, double& t) const {
  const int last = static_cast<int>(sections_.size()) - 1;
  const double d = std::max(std::min(u, 1.0), 0.0) * sections_[static_cast<size_t>(last)].CumulativeEnd;
  // The first span whose end lies beyond d; d at the very end lands in the
  // last span with t = 1.
  int lo = 0;
  int hi = last;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    if (d >= sections_[static_cast<size_t>(mid)].CumulativeEnd) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
    }
  }
  span = std::min(lo, last);
  const Section& s = sections_[static_cast<size_t>(span)];
  const double end = s.CumulativeEnd;
  const double start = end - s.SectionLength;
  // A span of no length is read at its middle.
  t = start == end ? 0.5 : (d - start) / (end - start);
}

double BezierPath::EvalX(double u) const {
  if (!Readable()) return 0;
  int span = 0;
  double t = 0;
  Locate(u, span, t);
  return BezierX(span, t);
}

double BezierPath::EvalY(double u) const {
  if (!Readable()) return 0;
  int span = 0;
  double t = 0;
  Locate(u, span, t);
  return BezierY(span, t);
}

Point BezierPath::Eval(double u) const {
  if (!Readable()) return Point{};
  int span = 0;
  double t = 0;
  Locate(u, span, t);
  return Point{BezierX(span, t), BezierY(span, t)};
}

}  // namespace quorl
