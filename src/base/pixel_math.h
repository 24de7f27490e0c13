// Small numeric rules shared by accumulation and rendering. Larger and
// Smaller keep the argument order of the colour rules: when one side is not
// a number the other side's choice is fixed, so results never depend on the
// standard library's handling of NaN.
#pragma once

#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorl {

// On x86 these are exactly the MAXSD and MINSD instructions (first operand
// when the comparison holds, else the second), which spares a branch.
#if defined(__SSE2__)
inline double Larger(double a, double b) {
  return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(a), _mm_set_sd(b)));
}
inline double Smaller(double a, double b) {
  return _mm_cvtsd_f64(_mm_min_sd(_mm_set_sd(a), _mm_set_sd(b)));
}
#else
inline double Larger(double a, double b) {
  return a > b ? a : b;
}
inline double Smaller(double a, double b) {
  return a < b ? a : b;
}
#endif

// The 0 ... 255 range of a colour channel.
inline double ClampToChannel(double v) {
  return Larger(0.0, Smaller(v, 255.0));
}

// Nearest integer, halves to the even neighbour, whatever the floating-point
// rounding mode is. v - floor(v) is exact, so the comparison with 0.5 is too.
inline double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double diff = v - f;
  if (diff < 0.5) return f;
  if (diff > 0.5) return f + 1;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// RoundHalfEven as an integer for |v| < 2^52, the doubles that can still
// have a fraction: a truncation and exact comparisons, with no branch on
// the fraction for the processor to guess (the fractions of a painted
// canvas are as good as random).
inline std::int64_t RoundHalfEvenOfSmall(double v) {
  const std::int64_t t = static_cast<std::int64_t>(v);
  const std::int64_t f = t - static_cast<std::int64_t>(v < static_cast<double>(t));
  const double diff = v - static_cast<double>(f);
  return f + static_cast<std::int64_t>((diff > 0.5) | ((diff == 0.5) & ((f & 1) != 0)));
}
// Doubles from 2^52 on are whole: RoundHalfEven leaves them as they are.
inline constexpr double kWholeFrom = 4503599627370496.0;

// The low eight bits of the rounded value, as the direct render stores it.
// From 2^63 on every double is a multiple of 2^11, so its low bits are 0;
// values that are not numbers give 0 as well.
inline std::uint8_t LowByteOfRounded(double v) {
  if (std::fabs(v) < kWholeFrom) return static_cast<std::uint8_t>(RoundHalfEvenOfSmall(v) & 0xFF);
  if (!(std::fabs(v) < 9223372036854775808.0)) return 0;
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(v)) & 0xFFu);
}

// The rounded value limited to 0 ... 255; not-a-number gives 0.
inline std::uint8_t ClampedByteOfRounded(double v) {
  if (std::fabs(v) < kWholeFrom) {
    const std::int64_t r = RoundHalfEvenOfSmall(v);
    return static_cast<std::uint8_t>(r < 0 ? 0 : r > 255 ? 255 : r);
  }
  return v > 0 ? 255 : 0;
}

}  // namespace quorl
