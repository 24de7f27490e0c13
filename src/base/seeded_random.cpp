#include "base/seeded_random.h"

#include <chrono>
#include <sstream>

namespace quorl {

std::string SeededRandom::SaveState() const {
  std::ostringstream out;
  out << engine_;
  return out.str();
}

bool SeededRandom::RestoreState(const std::string& text) {
  std::istringstream in(text);
  std::mt19937_64 engine;
  in >> engine;
  if (in.fail()) return false;
  // Nothing but blanks may follow the state.
  in >> std::ws;
  if (!in.eof()) return false;
  engine_ = engine;
  return true;
}

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
