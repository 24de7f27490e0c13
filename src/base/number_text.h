// Number text as stored in settings files and curve files. Always written
// with "."; "." and "," are both read, so a file moved between machines with
// different locales keeps its values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorl {

// General form, at most 15 significant digits, no trailing zeros, no point for
// whole numbers; "E" and the exponent only when it is below -5 or above 14.
std::string FormatFloat(double value);

// A finite double, or nothing for empty text, junk, NaN, infinity or overflow.
// Blanks around the number are ignored.
std::optional<double> ParseFloat(std::string_view text);

// A 32-bit integer: decimal with an optional sign, or hexadecimal after "0x",
// "0X" or "$". Nothing for anything else or a value out of range.
std::optional<int> ParseInt(std::string_view text);

std::string FormatInt(int value);

}  // namespace quorl
