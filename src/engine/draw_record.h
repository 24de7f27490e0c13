// What a saved picture must know about the Draws behind the canvas: the seed
// of "Use random scatter?" each Draw starts from, how many Draws went into
// the canvas since the last Clear, and whether the settings or curves
// changed while it was drawn. One Draw with no edits can come back from its
// recipe; anything else cannot, and the recipe says so.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/program_state.h"

namespace quorl {

// The seed the next Draws start from; also stored as ScatterSeed.
void SetScatterSeed(ProgramState& state, std::uint64_t seed);
// The stored ScatterSeed as a number; nothing for an empty or bad value.
std::optional<std::uint64_t> ParseScatterSeed(std::string_view text);

// Called by the drawing run: at the start of a Draw (reseeds the scatter
// from the seed and counts the Draw), at its end (a run stopped early or
// edited while drawing counts as an edit), and at Clear.
void NoteDrawBegins(ProgramState& state);
void NoteDrawEnds(ProgramState& state);
void NoteCleared(ProgramState& state);

// True when the settings or curves differ from those the last Draw ended
// with (an edit after drawing, before saving).
bool EditedSinceLastDraw(const ProgramState& state);

}  // namespace quorl
