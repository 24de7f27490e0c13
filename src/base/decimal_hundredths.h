// Hundredths of a typed decimal number, taken from the digits themselves.
//
// Fields that store "the number times 100, rounded down" must not multiply a
// binary double by 100: 0.29 and 0.6 are slightly below their decimal values
// as doubles, so floor(0.6 * 100) in extended precision gives 59 and some
// negative values come out one too low. Working on the decimal text gives
// the floor of the exact value every time.
#pragma once

#include <optional>
#include <string_view>

namespace quorl {

// floor(text's exact decimal value × 100): 0.29 gives 29, -0.3 gives -30,
// -0.305 gives -31, 1.15 gives 115, "1,5" gives 150. Nothing for text that
// ParseFloat does not take as a number. Values beyond the range of long long
// saturate at its limits, so the caller clamps rather than casts.
std::optional<long long> FloorHundredths(std::string_view typedText);

// The same for a value as FormatFloat writes it (as a field shows it):
// 0.6 gives 60. Nothing for NaN.
std::optional<long long> FloorHundredthsOf(double value);

// `value` clamped into [low, high].
int ClampToInt(long long value, int low, int high);

}  // namespace quorl
