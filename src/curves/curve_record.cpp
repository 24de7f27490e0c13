#include "curves/curve_record.h"

#include <cstring>

namespace quorl {
namespace {

// A smooth curve is measured with this many chords per span at most; more
// in a file is damage (and would take forever to build).
constexpr int kMaxSubdivisions = 1000;

void WriteCurve(ByteWriter& out, const CurvePoints& curve) {
  out.U64(curve.Points.size());
  for (const Point& p : curve.Points) WritePoint(out, p);
  WritePoint(out, curve.Sum);
  WritePoint(out, curve.Centroid);
}

void ReadCurve(ByteReader& in, CurvePoints& curve) {
  const std::size_t n = in.Count(16);
  std::vector<Point> points(n);
  for (Point& p : points) p = ReadPoint(in);
  const Point sum = ReadPoint(in);
  const Point centroid = ReadPoint(in);
  if (!in.Ok()) return;
  curve.Points = std::move(points);
  curve.Sum = sum;
  curve.Centroid = centroid;
}

void WriteBezier(ByteWriter& out, const BezierPath& bezier) {
  out.Bool(bezier.IsBuilt());
  if (!bezier.IsBuilt()) return;
  out.I32(bezier.GetSubdivisions());
  out.U64(bezier.GivenPoints().size());
  for (const Point& p : bezier.GivenPoints()) WritePoint(out, p);
}

void ReadBezier(ByteReader& in, BezierPath& bezier) {
  if (!in.Bool()) {
    if (in.Ok()) bezier = BezierPath();
    return;
  }
  const int subdivisions = in.I32();
  const std::size_t n = in.Count(16);
  if (!in.Ok() || n < 2 || subdivisions < 1 || subdivisions > kMaxSubdivisions) {
    in.Fail();
    return;
  }
  std::vector<Point> points(n);
  for (Point& p : points) p = ReadPoint(in);
  if (!in.Ok()) return;
  BezierPath built;
  built.InitBezier(static_cast<int>(n), subdivisions);
  for (const Point& p : points) built.AddBezierPoint(p.X, p.Y);
  built.BuildBezier();
  bezier = std::move(built);
}

}  // namespace

bool SameCurvePointsOf(const CurvePoints& a, const CurvePoints& b) {
  const auto bits = [](const Point& p, const Point& q) {
    return std::memcmp(&p.X, &q.X, sizeof p.X) == 0 && std::memcmp(&p.Y, &q.Y, sizeof p.Y) == 0;
  };
  if (a.Points.size() != b.Points.size()) return false;
  for (std::size_t i = 0; i < a.Points.size(); ++i)
    if (!bits(a.Points[i], b.Points[i])) return false;
  return bits(a.Sum, b.Sum) && bits(a.Centroid, b.Centroid);
}

void WriteCurvePoints(ByteWriter& out, const CurveSlots& curves) {
  out.U32(static_cast<std::uint32_t>(curves.Slots.size()));
  for (const CurveSlot& slot : curves.Slots) WriteCurve(out, slot.Curve);
  WriteCurve(out, curves.AnimStartPathCurve);
  WriteCurve(out, curves.AnimEndPathCurve);
}

bool ReadCurvePoints(ByteReader& in, CurveSlots& curves) {
  if (in.U32() != curves.Slots.size()) in.Fail();
  for (CurveSlot& slot : curves.Slots) {
    if (!in.Ok()) break;
    ReadCurve(in, slot.Curve);
  }
  if (in.Ok()) ReadCurve(in, curves.AnimStartPathCurve);
  if (in.Ok()) ReadCurve(in, curves.AnimEndPathCurve);
  return in.Ok();
}

void WriteBuiltCurves(ByteWriter& out, const CurveSlots& curves) {
  out.U32(static_cast<std::uint32_t>(curves.Slots.size()));
  for (const CurveSlot& slot : curves.Slots) {
    WriteBezier(out, slot.Bezier);
    out.F64(slot.Multiplier);
  }
  WriteBezier(out, curves.AnimStartPathBezier);
  WriteBezier(out, curves.AnimEndPathBezier);
}

bool ReadBuiltCurves(ByteReader& in, CurveSlots& curves) {
  if (in.U32() != curves.Slots.size()) in.Fail();
  for (CurveSlot& slot : curves.Slots) {
    if (!in.Ok()) break;
    ReadBezier(in, slot.Bezier);
    slot.Multiplier = in.F64();
  }
  if (in.Ok()) ReadBezier(in, curves.AnimStartPathBezier);
  if (in.Ok()) ReadBezier(in, curves.AnimEndPathBezier);
  return in.Ok();
}

bool SameCurvePoints(const CurveSlots& a, const CurveSlots& b) {
  for (std::size_t i = 0; i < a.Slots.size(); ++i)
    if (!SameCurvePointsOf(a.Slots[i].Curve, b.Slots[i].Curve)) return false;
  return SameCurvePointsOf(a.AnimStartPathCurve, b.AnimStartPathCurve) &&
         SameCurvePointsOf(a.AnimEndPathCurve, b.AnimEndPathCurve);
}

}  // namespace quorl
