// Curves made from a formula instead of the mouse: a circle with optional
// bumps, a hypotrochoid, an epitrochoid and a Lissajous figure. The points
// replace the selected slot's curve, which is then set up and shown.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorl {

class CurveEditSession;
class CurvePoints;
struct ParameterSet;

enum class PathKind : int { Circle = 1, Hypotrochoid = 2, Epitrochoid = 3, Lissajous = 4 };

// One figure: its shape values in the order of the generator's fields
// (circle: radius, bumps, amplitude; trochoids: a, b, h; Lissajous: r1,
// r2, omega1, omega2, delta1, delta2), the direction, the turn about the
// origin in degrees, and the number of steps N (N + 1 points are made; N is
// kept within 1 ... 3000).
struct PathFigure {
  PathKind kind = PathKind::Circle;
  std::vector<double> shape;
  bool clockwise = true;
  double rotatedBy = 0;
  int steps = 500;
};

// How many shape values each generator reads.
int ShapeValueCount(PathKind kind);

// Empties `target` and fills it with the figure's points. False, with the
// target left empty, for a trochoid whose b is 0 or a figure without enough
// shape values.
bool GeneratePath(const PathFigure& figure, CurvePoints& target);

// The shape values from the texts of the generator's fields; nothing when a
// text is not a number.
std::optional<std::vector<double>> ReadShapeValues(PathKind kind, std::span<const std::string> texts);

// The figure of a generator with these shape values and the direction, turn
// and number of points from the parameters.
PathFigure FigureFromParameters(PathKind kind, std::vector<double> shape, const ParameterSet& params);

// The message for shape fields that do not hold numbers.
const char* ShapeFieldsMessage(PathKind kind);

// "Make path": the generator of `kind` (1 circle, 2 hypotrochoid,
// 3 epitrochoid, 4 Lissajous) with the shape fields' texts replaces the
// selected slot's curve; then the slot's curve is shown.
void MakePath(CurveEditSession& session, int kind, std::span<const std::string> shapeTexts);

}  // namespace quorl
