// A picture at 16 bits a channel: red, green, blue per pixel, rows top to
// bottom, for PNG files that keep what the 8-bit picture rounds away.
#pragma once

#include <cstdint>
#include <vector>

#include "base/pixel_math.h"

namespace quorl {

struct DeepPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> rgb;
};

// A channel value on the 0 ... 255 scale at 16 bits: times 257 (so 255 is
// 65535), rounded halves to even, limited to 0 ... 65535. NaN gives 0.
inline std::uint16_t DeepChannel(double value) {
  const double scaled = RoundHalfEven(value * 257.0);
  if (!(scaled > 0)) return 0;
  if (scaled >= 65535) return 65535;
  return static_cast<std::uint16_t>(scaled);
}

}  // namespace quorl
