#include "base/pixel_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace quorl {
namespace {

// The bytes as RoundHalfEven defines them, the way a reader of the
// comments would compute them.
std::uint8_t LowByteByDefinition(double v) {
  const double r = RoundHalfEven(v);
  if (!(std::fabs(r) < 9223372036854775808.0)) return 0;
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(r)) & 0xFFu);
}
std::uint8_t ClampedByDefinition(double v) {
  const double r = RoundHalfEven(v);
  if (!(r > 0)) return 0;
  return r > 255 ? 255 : static_cast<std::uint8_t>(r);
}

// Halves of both parities and signs, their neighbours one ulp away, the
// edges where doubles stop having fractions (2^52) and stop fitting 64-bit
// integers (2^63), infinities, NaN, zeros of both signs, denormals, and
// random values over many magnitudes.
std::vector<double> Awkward() {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0,
                                -0.0,
                                4.9e-324,
                                -4.9e-324,
                                inf,
                                -inf,
                                std::numeric_limits<double>::quiet_NaN(),
                                0.49999999999999994};
  for (int k = -600; k <= 600; ++k) values.push_back(k / 2.0);
  for (double big : {4503599627370496.0, 9007199254740992.0, 9223372036854775808.0, 1e300}) {
    for (double v : {big, -big, big / 2 + 0.5, -(big / 2 + 0.5), big / 2 + 1.5}) values.push_back(v);
  }
  const std::size_t exact = values.size();
  for (std::size_t i = 0; i < exact; ++i) {
    values.push_back(std::nextafter(values[i], inf));
    values.push_back(std::nextafter(values[i], -inf));
  }
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> exponent(-4.0, 20.0);
  for (int i = 0; i < 200000; ++i) {
    const double v = std::pow(10.0, exponent(random)) * ((random() & 1) ? 1 : -1);
    values.push_back(v);
    values.push_back(std::floor(v) + 0.5);
  }
  return values;
}

TEST(PixelMath, BytesOfRoundedValuesFollowRoundHalfEven) {
  for (const double v : Awkward()) {
    ASSERT_EQ(LowByteOfRounded(v), LowByteByDefinition(v)) << v;
    ASSERT_EQ(ClampedByteOfRounded(v), ClampedByDefinition(v)) << v;
  }
  // A few by hand, so the definition above cannot drift along unnoticed.
  EXPECT_EQ(LowByteOfRounded(2.5), 2);
  EXPECT_EQ(LowByteOfRounded(-0.5), 0);
  EXPECT_EQ(LowByteOfRounded(-1.5), 254);
  EXPECT_EQ(LowByteOfRounded(257.5), 2);
  EXPECT_EQ(ClampedByteOfRounded(254.5), 254);
  EXPECT_EQ(ClampedByteOfRounded(255.5), 255);
  EXPECT_EQ(ClampedByteOfRounded(-3), 0);
}

}  // namespace
}  // namespace quorl
