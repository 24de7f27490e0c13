#include "base/seeded_random.h"

#include <chrono>

namespace quorl {

std::uint64_t SeedFromClock() {
  return static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

int RandomInteger(RandomSource& random, int count) {
  const double v = random.Random() * count;
  // A source that strays outside [0, 1) must not step outside the range.
  if (!(v >= 0)) return 0;
  if (v >= count) return count - 1;
  return static_cast<int>(v);
}

}  // namespace quorl
