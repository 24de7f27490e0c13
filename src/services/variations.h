// Neighbours of a picture: copies of its parameters with one or two values
// moved by a small, medium or large step. The choice comes from a seeded
// generator, so the same picture, seed and step size always give the same
// neighbours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/parameter_set.h"

namespace quorl {

enum class VariationStep { Small = 0, Medium = 1, Large = 2 };

struct Variation {
  ParameterSet params;
  // What moved, e.g. "StartBumps 4 -> 7, EndIota 0 -> -45".
  std::string description;
};

// `count` neighbours of `params`. Every neighbour differs from `params` in
// one or two of the varied values (after the tool windows' ranges are
// applied), and no two neighbours are the same.
std::vector<Variation> MakeVariations(const ParameterSet& params, std::uint64_t seed, VariationStep step,
                                      int count = 8);

}  // namespace quorl
