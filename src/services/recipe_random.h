// Random numbers for making recipes, mapped by our own code so that a seed
// means the same recipe on every build and standard library: SplitMix64
// steps, and our own mapping to ranges (no std:: distributions, whose
// results the standard leaves to each library).
#pragma once

#include <cstdint>

namespace quorl {

class RecipeRandom {
 public:
  // One stream per (seed, stream): a redraw uses (seed, attempt), never the
  // next seed, so seed N and seed N + 1 stay unrelated.
  RecipeRandom(std::uint64_t seed, std::uint64_t stream);

  std::uint64_t Next();
  // Uniform in [0, 1), 53 bits.
  double Unit();
  // A whole number from low to high, both included (high >= low).
  int IntIn(int low, int high);
  // A real number from low to high.
  double RealIn(double low, double high);
  // True with the given probability.
  bool Chance(double probability);

 private:
  std::uint64_t state_;
};

}  // namespace quorl
