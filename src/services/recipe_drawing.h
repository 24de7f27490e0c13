// A recipe held in memory, ready to be drawn at any size without touching a
// file: the parameters, the curves, the source and background pictures and
// the seed of "Use random scatter?". Sweeps, random pictures and variations
// draw many of these side by side, each on a canvas of its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/picture24.h"
#include "curves/curve_slots.h"
#include "engine/program_state.h"
#include "settings/parameter_set.h"

namespace quorl {

struct DrawableRecipe {
  ParameterSet params;
  CurveSlots curves;
  // Shared between the many copies a sweep makes; null when none is loaded.
  std::shared_ptr<const Picture24> source;
  std::shared_ptr<const Picture24> background;
  std::uint64_t seed = 1;
};

// The recipe of what `state` would draw next: its parameters, curves and
// pictures (copied).
DrawableRecipe CaptureRecipe(const ProgramState& state, std::uint64_t seed);

// Brings a fresh state to where the recipe's own picture starts: parameters,
// curves, pictures and seed in place, canvas sized to width x height (kept to
// 1 ... 6000 a side) and reset. False with the reason when the canvas cannot
// be made.
bool PrepareState(const DrawableRecipe& recipe, int width, int height, ProgramState& state,
                  std::string* error = nullptr);

// Draws the recipe once on a canvas of width x height with `threads`
// threads, as Draw does after a Clear. An empty picture when the canvas
// cannot be made. `stop`, when given, is read after every step: once set,
// the run ends there.
Picture24 DrawRecipe(const DrawableRecipe& recipe, int width, int height, int threads = 1,
                     const std::atomic<bool>* stop = nullptr);

// Draws every recipe at the same size, several at a time on up to `threads`
// threads (each recipe on one thread: the picture does not depend on it).
// `stop`, when given, is read after every step; the pictures not finished
// are left empty.
std::vector<Picture24> DrawRecipes(const std::vector<DrawableRecipe>& recipes, int width, int height,
                                   int threads, const std::atomic<bool>* stop = nullptr);

}  // namespace quorl
