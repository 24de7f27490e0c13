// Pi at extended precision, and the degree-to-radian factor built from it.
#pragma once

namespace quorl {

inline constexpr long double kPiL = 3.141592653589793238462643383279502884L;
inline constexpr long double kTwoPiL = 2 * kPiL;

// Degrees to radians, computed in extended precision and rounded once.
inline double DegreesToRadians(double degrees) {
  return static_cast<double>(degrees * kPiL / 180);
}

}  // namespace quorl
