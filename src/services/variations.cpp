#include "services/variations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <variant>

#include "base/number_text.h"
#include "services/recipe_random.h"
#include "settings/field_ranges.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

// A value a neighbour may move, with its step at each size.
struct Knob {
  const char* key;
  std::array<double, 3> step;  // small, medium, large
};

constexpr Knob kKnobs[] = {
    {"StartRadius", {8, 25, 70}},        {"EndRadius", {8, 25, 70}},
    {"StartIota", {10, 45, 180}},        {"EndIota", {10, 45, 180}},
    {"StartBumps", {1, 2, 6}},           {"EndBumps", {1, 2, 6}},
    {"StartDepth", {1, 2, 5}},           {"EndDepth", {1, 2, 5}},
    {"StartScale", {8, 25, 70}},         {"LissaDelta", {1, 1, 3}},
    {"NumberOfRocks", {0.5, 1, 3}},      {"StartRockerAmount", {3, 10, 30}},
    {"EndRockerAmount", {3, 10, 30}},    {"StartEllipseWidth", {0.1, 0.3, 1}},
    {"EndEllipseHeight", {0.1, 0.3, 1}}, {"StepColorMultiplier", {1, 1, 2}},
    {"ThetaColorMultiplier", {1, 1, 2}}, {"StartMaxRed", {20, 60, 140}},
    {"StartMaxGreen", {20, 60, 140}},    {"StartMaxBlue", {20, 60, 140}},
    {"EndMaxRed", {20, 60, 140}},        {"EndMaxGreen", {20, 60, 140}},
    {"EndMaxBlue", {20, 60, 140}},       {"StartAmount", {5, 15, 40}},
    {"EndAmount", {5, 15, 40}},
};

// The value of a knob as text, or "" for a key that holds no number.
std::string ValueText(const ParameterSet& params, const char* key) {
  const KeyDescriptor* row = FindSettingsKey(key);
  if (!row) return "";
  if (auto* member = std::get_if<int ParameterSet::*>(&row->member)) return FormatInt(params.*(*member));
  if (auto* real = std::get_if<double ParameterSet::*>(&row->member)) return FormatFloat(params.*(*real));
  return "";
}

// Moves one knob by `delta` and applies the windows' ranges. False when the
// value did not change (it was at the end of its range).
bool Move(ParameterSet& params, const char* key, double delta) {
  const KeyDescriptor* row = FindSettingsKey(key);
  if (!row) return false;
  const std::string before = ValueText(params, key);
  if (auto* member = std::get_if<int ParameterSet::*>(&row->member)) {
    const double moved = static_cast<double>(params.*(*member)) + delta;
    params.*(*member) = static_cast<int>(std::clamp(std::round(moved), -1e9, 1e9));
  } else if (auto* real = std::get_if<double ParameterSet::*>(&row->member)) {
    params.*(*real) += delta;
  }
  KeepInFieldRanges(params, LissaDeltaMinFor(params.FunctionNumber));
  return ValueText(params, key) != before;
}

}  // namespace

std::vector<Variation> MakeVariations(const ParameterSet& params, std::uint64_t seed, VariationStep step,
                                      int count) {
  constexpr int kKnobCount = static_cast<int>(std::size(kKnobs));
  const auto size = static_cast<std::size_t>(step);
  RecipeRandom random(seed, 0x7661726961ULL + size);
  // Compared after the ranges are applied, as every neighbour is.
  ParameterSet start = params;
  KeepInFieldRanges(start, LissaDeltaMinFor(start.FunctionNumber));
  std::vector<Variation> variations;
  // Enough tries that a picture whose values sit at the ends of their
  // ranges still finds its neighbours; each try costs microseconds.
  for (int tries = 0; tries < 64 * count && static_cast<int>(variations.size()) < count; ++tries) {
    Variation v{start, ""};
    const int moves = random.Chance(0.5) ? 1 : 2;
    int first = -1;
    for (int m = 0; m < moves; ++m) {
      int k = random.IntIn(0, kKnobCount - 1);
      if (k == first) k = (k + 1) % kKnobCount;
      const Knob& knob = kKnobs[k];
      const double delta = knob.step[size] * (random.Chance(0.5) ? 1.0 : -1.0);
      const std::string before = ValueText(v.params, knob.key);
      if (!Move(v.params, knob.key, delta) && !Move(v.params, knob.key, -delta)) continue;
      if (!v.description.empty()) v.description += ", ";
      v.description += std::string(knob.key) + " " + before + " -> " + ValueText(v.params, knob.key);
      first = k;
    }
    if (v.description.empty() || v.params == start) continue;
    const bool repeated = std::any_of(variations.begin(), variations.end(),
                                      [&](const Variation& other) { return other.params == v.params; });
    if (!repeated) variations.push_back(std::move(v));
  }
  return variations;
}

}  // namespace quorl
