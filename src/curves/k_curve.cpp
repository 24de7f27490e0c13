#include "curves/k_curve.h"

#include <string_view>

#include "curves/curve_file_names.h"
#include "engine/host.h"
#include "settings/atomic_file.h"
#include "settings/number_text.h"
#include "settings/paths.h"

namespace quorl {

void kCurve::AddCoordToCurve(const kCoord& p) {
  Points.push_back(p);
  Sum.AddCoord(p);
  Centroid.X = Sum.X / GetLength();
  Centroid.Y = Sum.Y / GetLength();
}

void kCurve::Empty() {
  Points.clear();
  Sum.SetXY(0, 0);
  Centroid.Assign(Sum);
}

void kCurve::Rotate(double a) {
  for (kCoord& p : Points) p.RotateAbout(Centroid, a);
}

void kCurve::Expand(double f) {
  for (kCoord& p : Points) p.ScaleAbout(Centroid, f);
}

void kCurve::MoveBy(double dx, double dy) {
  for (kCoord& p : Points) {
    p.X += dx;
    p.Y += dy;
  }
  Centroid.X += dx;
  Centroid.Y += dy;
}

void kCurve::CopyCurve(const kCurve& source, kCurve& target) {
  const std::vector<kCoord> points = source.Points;  // source may be target
  target.Empty();
  for (const kCoord& p : points) target.AddPoint(p.X, p.Y);
}

void kCurve::ReverseCurve(const kCurve& source, kCurve& target) {
  const std::vector<kCoord> points = source.Points;
  target.Empty();
  for (auto it = points.rbegin(); it != points.rend(); ++it) target.AddPoint(it->X, it->Y);
}

namespace {

constexpr const char* kMalformedCurveFile = "There is a problem with the .curve file";

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

CurveLoadOutcome kCurve::Load(const std::string& name, Host& host, std::string* error) {
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
      host.ShowMessage(kMalformedCurveFile);
      Empty();
      return CurveLoadOutcome::Malformed;
    }
    AddPoint(*x, *y);
  }
  return CurveLoadOutcome::Loaded;
}

std::string CurveFileText(const std::vector<kCoord>& points) {
  std::string text;
  for (const kCoord& p : points) {
    text += FormatFloat(p.X);
    text += "\r\n";
    text += FormatFloat(p.Y);
    text += "\r\n";
  }
  return text;
}

CurveSaveOutcome kCurve::Spam(const std::string& name, std::string* error) const {
  if (GetLength() < 2) return CurveSaveOutcome::TooFewPoints;
  if (!WriteFileAtomically(CurveFileNameAsWritten(name), CurveFileText(Points), error))
    return CurveSaveOutcome::Failed;
  return CurveSaveOutcome::Written;
}

}  // namespace quorl
