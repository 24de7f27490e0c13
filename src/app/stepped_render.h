// A render that starts from a state file, or stops after a given step and
// keeps its state in one: `quorl render S.ini --until-step K --state-out F`
// and `quorl render F --continue -o OUT.png`.
#pragma once

#include <cstdio>
#include <string>

#include "engine/drawing_run.h"
#include "engine/program_state.h"

namespace quorl {

struct SteppedRender {
  bool resume = false;       // go on from `position` instead of beginning
  RunPosition position;      // where a loaded state file stopped
  long long untilStep = -1;  // stop after this step; -1: run to the end
  std::string stateOut;      // where to keep the state when the loop ends
};

// Loads a state file into a fresh program state. 0, or 1 after one line on
// `err` for a file that cannot be read or is refused.
int LoadRenderState(const std::string& path, ProgramState& state, RunPosition& position, std::FILE* err);

// Draw as the Draw command does, from the beginning or from a loaded
// position, up to `untilStep`; then writes the state file (before the last
// render, which leaves the grids alone anyway) and finishes the run. 0, or 1
// when the state file cannot be written.
int DrawSteppedRender(DrawingRun& run, ProgramState& state, const SteppedRender& how, std::FILE* err);

}  // namespace quorl
