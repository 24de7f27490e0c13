// A point of the drawing plane, with the small transforms the curve editing
// applies to it.
#pragma once

#include <cmath>

namespace quorl {

struct Point {
  double X = 0;
  double Y = 0;

  static Point CreateCoord(double x, double y) { return Point{x, y}; }
  static Point CreateCoordFrom(const Point& p) { return Point{p.X, p.Y}; }

  double GetX() const { return X; }
  double GetY() const { return Y; }
  // Distance from the origin.
  double Length() const { return std::sqrt(X * X + Y * Y); }

  void AddCoord(const Point& p) {
    X += p.X;
    Y += p.Y;
  }
  static double DiffX(const Point& a, const Point& b) { return a.X - b.X; }
  static double DiffY(const Point& a, const Point& b) { return a.Y - b.Y; }

  void ScaleAbout(const Point& c, double f) {
    X = (X - c.X) * f + c.X;
    Y = (Y - c.Y) * f + c.Y;
  }
  void Multiply(double f) {
    X = X * f;
    Y = Y * f;
  }
  void Divide(double d) { Multiply(1 / d); }
  void Assign(const Point& p) {
    X = p.X;
    Y = p.Y;
  }
  void SetXY(double x, double y) {
    X = x;
    Y = y;
  }
  // Turns the point about c by a radians, counter-clockwise with y up.
  void RotateAbout(const Point& c, double a) {
    const double dx = X - c.X;
    const double dy = Y - c.Y;
    X = std::cos(a) * dx - std::sin(a) * dy + c.X;
    Y = std::sin(a) * dx + std::cos(a) * dy + c.Y;
  }

  bool operator==(const Point&) const = default;
};

}  // namespace quorl
