#include "animation/wave_forms.h"

#include <cmath>

namespace quorl {

double Mantissa(double u, double R) {
  const double x = R * u;
  return x - std::floor(x);
}

double SineWave(double theta, double R, double C, double B) {
  return std::sin(R * theta) * C + B;
}

double LinearWave(double u, double R, double C, double B) {
  return C * Mantissa(u, R) + B;
}

double LinearReturnWave(double u, double R, double C, double B) {
  const double m = Mantissa(u, R);
  if (m < 0.5) return C * 2 * m + B;
  return C - C * 2 * (m - 0.5) + B;
}

}  // namespace quorl
