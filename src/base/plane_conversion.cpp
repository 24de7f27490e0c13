#include "base/plane_conversion.h"

namespace quorl {

double ConvertXtoXCoord(double px, double scale, int width, int height) {
  const double s = scale;
  const double w = width;
  const double h = height;
  return -(s * w / h) + (2 * s * w / h / w) * px;
}

double ConvertYtoYCoord(double py, double scale, int height) {
  const double s = scale;
  return s - (2 * s / height) * py;
}

Point ConvertMouseToCoord(double px, double py, double scale, int width, int height) {
  return Point{ConvertXtoXCoord(px, scale, width, height), ConvertYtoYCoord(py, scale, height)};
}

}  // namespace quorl
