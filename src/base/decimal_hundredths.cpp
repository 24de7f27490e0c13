#include "base/decimal_hundredths.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "base/number_text.h"

namespace quorl {
namespace {

// Exponents past this only ever saturate or give zero.
constexpr long long kExponentCap = 1000000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The digits as an integer; nothing when they do not fit.
std::optional<long long> ValueOf(std::string_view digits) {
  long long v = 0;
  for (char c : digits) {
    const int d = c - '0';
    if (v > (LLONG_MAX - d) / 10) return std::nullopt;
    v = v * 10 + d;
  }
  return v;
}

}  // namespace

std::optional<long long> FloorHundredths(std::string_view typedText) {
  // ParseFloat decides what counts as a number, so every field kind accepts
  // the same texts; the digits are then read again exactly.
  if (!ParseFloat(typedText)) return std::nullopt;
  std::string_view text = TrimBlanks(typedText);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }

  std::string digits;      // the mantissa's digits without the separator
  long long exponent = 2;  // times 100
  bool afterPoint = false;
  while (!text.empty() && (IsDigit(text.front()) || text.front() == '.' || text.front() == ',')) {
    if (IsDigit(text.front())) {
      digits += text.front();
      if (afterPoint) --exponent;
    } else {
      afterPoint = true;
    }
    text.remove_prefix(1);
  }
  if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
    text.remove_prefix(1);
    bool negativeExponent = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
      negativeExponent = text.front() == '-';
      text.remove_prefix(1);
    }
    long long e = 0;
    while (!text.empty() && IsDigit(text.front())) {
      e = std::min(kExponentCap, e * 10 + (text.front() - '0'));
      text.remove_prefix(1);
    }
    exponent += negativeExponent ? -e : e;
  }
  if (!text.empty()) return std::nullopt;

  const std::size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return 0;
  digits.erase(0, firstNonZero);

  // floor(±whole.fraction): whole when positive, -whole minus one when a
  // non-zero fraction was cut off a negative number.
  std::optional<long long> whole = 0;
  bool fractionLeft = false;
  if (exponent >= 0) {
    if (static_cast<long long>(digits.size()) + exponent > 19) {
      whole = std::nullopt;
    } else {
      digits.append(static_cast<std::size_t>(exponent), '0');
      whole = ValueOf(digits);
    }
  } else {
    const long long kept = static_cast<long long>(digits.size()) + exponent;
    if (kept <= 0) {
      fractionLeft = true;  // digits hold a non-zero digit
    } else {
      const std::string_view all(digits);
      whole = ValueOf(all.substr(0, static_cast<std::size_t>(kept)));
      fractionLeft =
          all.substr(static_cast<std::size_t>(kept)).find_first_not_of('0') != std::string_view::npos;
    }
  }
  if (!whole) return negative ? LLONG_MIN : LLONG_MAX;
  if (!negative) return *whole;
  if (fractionLeft) return *whole == LLONG_MAX ? LLONG_MIN : -*whole - 1;
  return -*whole;
}

std::optional<long long> FloorHundredthsOf(double value) {
  if (std::isnan(value)) return std::nullopt;
  if (std::isinf(value)) return value > 0 ? LLONG_MAX : LLONG_MIN;
  return FloorHundredths(FormatFloat(value));
}

int ClampToInt(long long value, int low, int high) {
  // The larger of the value and low, then the smaller of that and high: when
  // low exceeds high the result is high, as the fields have it.
  return static_cast<int>(std::min<long long>(std::max<long long>(value, low), high));
}

}  // namespace quorl
