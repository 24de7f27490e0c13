// Pi, the one definition the program uses: at extended precision for the
// step arithmetic, and as the nearest double for everything else.
#pragma once

#include <numbers>

namespace quorl {

inline constexpr long double kPiL = 3.141592653589793238462643383279502884L;
inline constexpr long double kTwoPiL = 2 * kPiL;
inline constexpr double kPi = static_cast<double>(kPiL);
inline constexpr double kHalfPi = kPi / 2;
static_assert(kPi == std::numbers::pi);

// Degrees to radians, computed in extended precision and rounded once.
inline double DegreesToRadians(double degrees) {
  return static_cast<double>(degrees * kPiL / 180);
}

}  // namespace quorl
