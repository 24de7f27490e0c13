// The program's pseudo-random numbers: a fixed algorithm so that a given seed
// gives the same picture on every machine.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "base/host.h"

namespace quorl {

class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
  // Uniform in [0, 1), 53 random bits.
  double Random() override { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

  // The generator's whole state as text, so a stopped run can go on with the
  // very numbers it would have drawn. Restore refuses text that is not such
  // a state and then leaves the generator as it was.
  std::string SaveState() const;
  bool RestoreState(const std::string& text);

 private:
  std::mt19937_64 engine_;
};

// A seed that differs from program start to program start.
std::uint64_t SeedFromClock();

// An integer from 0 to count - 1.
int RandomInteger(RandomSource& random, int count);

}  // namespace quorl
