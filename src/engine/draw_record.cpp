#include "engine/draw_record.h"

#include <charconv>

#include "base/sha256.h"
#include "curves/curve.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

// A digest of everything a Draw reads from the user: the settings (without
// the record's own keys) and every curve.
std::string DrawnInputs(const ProgramState& state) {
  ParameterSet p = state.params;
  p.ScatterSeed.clear();
  p.DrawsSinceClear = 0;
  p.EditsDuringDraws = 0;
  Sha256 digest;
  // The recipe's keys: the window's layout and the folders do not draw.
  digest.Update(WriteRecipeText(p, p.CurrentStyle));
  for (int i = 0; i < kCurveCount; ++i) {
    digest.Update("\n#curve\n");
    digest.Update(CurveFileText(state.curves[i].Curve.Points));
  }
  digest.Update("\n#anim\n");
  digest.Update(CurveFileText(state.curves.AnimStartPathCurve.Points));
  digest.Update("\n#anim\n");
  digest.Update(CurveFileText(state.curves.AnimEndPathCurve.Points));
  return digest.FinishHex();
}

}  // namespace

void SetScatterSeed(ProgramState& state, std::uint64_t seed) {
  state.scatterSeed = seed;
  state.random = SeededRandom(seed);
  state.params.ScatterSeed = std::to_string(seed);
}

std::optional<std::uint64_t> ParseScatterSeed(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void NoteDrawBegins(ProgramState& state) {
  SetScatterSeed(state, state.scatterSeed);
  ++state.params.DrawsSinceClear;
  state.drawnInputs = DrawnInputs(state);
}

void NoteDrawEnds(ProgramState& state) {
  const std::string now = DrawnInputs(state);
  // A run cut short is as far from its recipe as an edited one. A run
  // resumed from a saved state has no start of its own to compare with.
  const bool begunHere = !state.drawnInputs.empty();
  if ((begunHere && now != state.drawnInputs) || state.flags.StopRequested) ++state.params.EditsDuringDraws;
  state.drawnInputs = now;
}

void NoteCleared(ProgramState& state) {
  // Cleared during a run: the canvas will hold only the rest of that run.
  const bool midRun = state.flags.IsDrawing;
  state.params.DrawsSinceClear = midRun ? 1 : 0;
  state.params.EditsDuringDraws = midRun ? 1 : 0;
  if (!midRun) state.drawnInputs.clear();
}

bool EditedSinceLastDraw(const ProgramState& state) {
  return !state.drawnInputs.empty() && DrawnInputs(state) != state.drawnInputs;
}

}  // namespace quorl
