// A drawing run caught between two steps, and the state file that keeps it:
// the canvas grids, the step reached, the random generator, the values
// carried from step to step, the recipe (parameters and curves, built smooth
// curves included) and the source and background pictures. Loading it into
// a program state and resuming the run gives, step for step, what the run
// would have drawn without the stop.
//
// A snapshot is a plain copy: taken on the drawing thread, it can be
// written on another while drawing goes on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/picture24.h"
#include "base/sealed_file.h"
#include "canvas/canvas_grids.h"
#include "curves/curve_slots.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"

namespace quorl {

// State files ("Save canvas state", --state-out) and autosaves share the
// format and differ in their magic.
inline constexpr SealedKind kStateFileKind{"QUORLRS\x01", 1, "state file"};
inline constexpr SealedKind kAutosaveKind{"QUORLAS\x01", 1, "autosave"};

struct RunSnapshot {
  ParameterSet params;
  CurveSlots curves;
  StepState step;
  AnimationOverrides anim;
  bool inAnimation = false;
  bool drawEachStep = false;
  bool preview = false;
  bool useArctan2 = false;
  std::string random;  // SeededRandom::SaveState
  CanvasGrids grids;
  Picture24 source;      // as loaded; empty when none
  Picture24 background;  // as loaded; empty when none
  RunPosition position;
};

// Copies everything; the canvas grids are the large part, left out (empty)
// without `withGrids`.
RunSnapshot TakeRunSnapshot(const ProgramState& state, const RunPosition& position, bool withGrids = true);

// Puts a snapshot into a program state (moving the grids out of it). False,
// with the state untouched, when the snapshot does not fit together or
// memory runs out.
bool ApplyRunSnapshot(RunSnapshot&& snapshot, ProgramState& state, std::string& error);

// The payload of the file, before compression.
std::string EncodeRunSnapshot(const RunSnapshot& snapshot);
bool DecodeRunSnapshot(std::string_view payload, RunSnapshot& snapshot, std::string& error);

// Whole files, written atomically. Level is zstd's; autosaves use a fast one.
bool WriteRunStateFile(const std::string& path, const SealedKind& kind, const RunSnapshot& snapshot,
                       std::string& error, int level = 3);
bool ReadRunStateFile(const std::string& path, const SealedKind& kind, RunSnapshot& snapshot,
                      std::string& error);

// True when the file starts like a state file (for openers that take several
// kinds of file).
bool LooksLikeRunStateFile(std::string_view firstBytes);

}  // namespace quorl
