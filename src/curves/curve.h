// An editable, ordered list of points with a running centroid, and its text
// file form (".curve": X and Y on alternate lines).
#pragma once

#include <string>
#include <vector>

#include "base/point.h"

namespace quorl {

// What the user is told about a malformed curve file.
inline constexpr const char* kMalformedCurveFile = "There is a problem with the .curve file";

enum class CurveLoadOutcome {
  Loaded,      // the file's points replaced the curve
  NoFile,      // no such file: the curve keeps its points
  Malformed,   // the error is the message for the user; the curve is now empty
  Unreadable,  // could not be read: the curve keeps its points, see the error
};

enum class CurveSaveOutcome {
  Written,
  TooFewPoints,  // fewer than two points: nothing written
  Failed,        // see the error; any old file is untouched
};

class CurvePoints {
 public:
  std::vector<Point> Points;
  // Running sum of the points added since the last Empty. MoveBy and SetXYofI
  // leave it alone, so it can drift from the points on purpose.
  Point Sum;
  Point Centroid;

  int GetLength() const { return static_cast<int>(Points.size()); }
  int GetHighOfPoints() const { return GetLength() - 1; }
  // The caller keeps i in range.
  double GetXofI(int i) const { return Points[static_cast<size_t>(i)].X; }
  double GetYofI(int i) const { return Points[static_cast<size_t>(i)].Y; }
  // Replaces one point; Sum and Centroid are not recomputed.
  void SetXYofI(int i, const Point& p) { Points[static_cast<size_t>(i)] = p; }

  void AddPoint(double x, double y) { AddCoordToCurve(Point{x, y}); }
  void AddCoordToCurve(const Point& p);
  void Empty();

  // Reads a curve file; an empty name means "test.txt". A malformed file
  // (a line that is not a finite number, or an X without its Y) leaves the
  // curve empty and gives kMalformedCurveFile as the error.
  CurveLoadOutcome Load(const std::string& name, std::string* error = nullptr);
  // Writes the curve file, CRLF line ends, only for two points or more,
  // under CurveFileNameAsWritten(name) (curve_file_names.h).
  CurveSaveOutcome Save(const std::string& name, std::string* error = nullptr) const;

  // Turn by a radians / scale by f, both about Centroid.
  void Rotate(double a);
  void Expand(double f);
  // Shifts every point and Centroid; Sum stays as it was.
  void MoveBy(double dx, double dy);

  // target becomes an independent copy of source (in reverse order for
  // ReverseCurve). source and target may be the same curve.
  static void CopyCurve(const CurvePoints& source, CurvePoints& target);
  static void ReverseCurve(const CurvePoints& source, CurvePoints& target);
};

// The whole text of a curve file for these points.
std::string CurveFileText(const std::vector<Point>& points);

}  // namespace quorl
