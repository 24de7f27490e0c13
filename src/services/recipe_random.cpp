#include "services/recipe_random.h"

namespace quorl {
namespace {

std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

RecipeRandom::RecipeRandom(std::uint64_t seed, std::uint64_t stream)
    : state_(Mix(seed ^ 0x5175524C51755231ULL) ^ Mix(stream + 0x9E3779B97F4A7C15ULL)) {}

std::uint64_t RecipeRandom::Next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  return Mix(state_);
}

double RecipeRandom::Unit() {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

int RecipeRandom::IntIn(int low, int high) {
  if (high <= low) return low;
  const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
  // The high half of a 64 x 64 bit product: evenly spread without a loop.
  const auto wide = static_cast<unsigned __int128>(Next()) * span;
  return static_cast<int>(static_cast<std::int64_t>(low) + static_cast<std::int64_t>(wide >> 64));
}

double RecipeRandom::RealIn(double low, double high) {
  return low + (high - low) * Unit();
}

bool RecipeRandom::Chance(double probability) {
  return Unit() < probability;
}

}  // namespace quorl
