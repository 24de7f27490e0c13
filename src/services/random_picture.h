// Recipes drawn at random within ranges that give a visible picture: the
// ranges come from the gallery's recipes. A recipe whose picture comes out
// almost empty or almost flat is drawn again from the sub-seed
// (seed, attempt), so a seed always names one picture.
#pragma once

#include <cstdint>

#include "services/recipe_drawing.h"

namespace quorl {

// The recipe of attempt `attempt` of `seed`, drawn at width x height.
DrawableRecipe RandomRecipe(std::uint64_t seed, int attempt, int width, int height);

// The size a candidate is checked at: small, so the check is quick, and
// fixed, so the accepted attempt does not depend on the size asked for.
inline constexpr int kRandomCheckSide = 128;
inline constexpr int kRandomAttempts = 12;

struct RandomPicture {
  DrawableRecipe recipe;
  int attempt = 0;        // the attempt that was accepted
  bool accepted = false;  // false: no attempt passed, the last one is kept
  Picture24 check;        // the accepted attempt drawn at kRandomCheckSide
};

// The first attempt of `seed` whose check picture shows enough
// (ShowsEnough), with its ImageWidth and ImageHeight set to width x height.
RandomPicture PickRandomRecipe(std::uint64_t seed, int width, int height);

}  // namespace quorl
