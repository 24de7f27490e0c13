#include "curves/curve.h"

#include <string_view>

#include "base/atomic_file.h"
#include "base/number_text.h"
#include "base/paths.h"
#include "curves/curve_file_names.h"

namespace quorl {

void CurvePoints::AddCoordToCurve(const Point& p) {
  Points.push_back(p);
  Sum.AddCoord(p);
  Centroid.X = Sum.X / GetLength();
  Centroid.Y = Sum.Y / GetLength();
}

void CurvePoints::Empty() {
  Points.clear();
  Sum.SetXY(0, 0);
  Centroid.Assign(Sum);
}

void CurvePoints::Rotate(double a) {
  for (Point& p : Points) p.RotateAbout(Centroid, a);
}

void CurvePoints::Expand(double f) {
  for (Point& p : Points) p.ScaleAbout(Centroid, f);
}

void CurvePoints::MoveBy(double dx, double dy) {
  for (Point& p : Points) {
    p.X += dx;
    p.Y += dy;
  }
  Centroid.X += dx;
  Centroid.Y += dy;
}

void CurvePoints::CopyCurve(const CurvePoints& source, CurvePoints& target) {
  const std::vector<Point> points = source.Points;  // source may be target
  target.Empty();
  for (const Point& p : points) target.AddPoint(p.X, p.Y);
}

void CurvePoints::ReverseCurve(const CurvePoints& source, CurvePoints& target) {
  const std::vector<Point> points = source.Points;
  target.Empty();
  for (auto it = points.rbegin(); it != points.rend(); ++it) target.AddPoint(it->X, it->Y);
}

namespace {

// Splits into lines at LF, dropping a CR before it. A last line without a
// line end still counts; the line end after the last line does not start
// another one.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

}  // namespace

CurveLoadOutcome CurvePoints::Load(const std::string& name, std::string* error) {
  const std::string path = name.empty() ? "test.txt" : name;
  if (!FileExists(path)) return CurveLoadOutcome::NoFile;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) return CurveLoadOutcome::Unreadable;

  const std::vector<std::string_view> lines = SplitLines(bytes);
  Empty();
  for (size_t i = 0; i < lines.size(); i += 2) {
    // A missing Y reads as an empty line, which is not a number.
    const std::optional<double> x = ParseFloat(lines[i]);
    const std::optional<double> y = i + 1 < lines.size() ? ParseFloat(lines[i + 1]) : std::nullopt;
    if (!x || !y) {
      if (error) *error = kMalformedCurveFile;
      Empty();
      return CurveLoadOutcome::Malformed;
    }
    AddPoint(*x, *y);
  }
  return CurveLoadOutcome::Loaded;
}

std::string CurveFileText(const std::vector<Point>& points) {
  std::string text;
  for (const Point& p : points) {
    text += FormatFloat(p.X);
    text += "\r\n";
    text += FormatFloat(p.Y);
    text += "\r\n";
  }
  return text;
}

CurveSaveOutcome CurvePoints::Save(const std::string& name, std::string* error) const {
  if (GetLength() < 2) return CurveSaveOutcome::TooFewPoints;
  if (!WriteFileAtomically(CurveFileNameAsWritten(name), CurveFileText(Points), error))
    return CurveSaveOutcome::Failed;
  return CurveSaveOutcome::Written;
}

}  // namespace quorl
