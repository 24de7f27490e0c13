#include "app/stepped_render.h"

#include "engine/run_state.h"

namespace quorl {

int LoadRenderState(const std::string& path, ProgramState& state, RunPosition& position, std::FILE* err) {
  RunSnapshot snapshot;
  std::string error;
  if (!ReadRunStateFile(path, kStateFileKind, snapshot, error)) {
    std::fprintf(err, "quorl: cannot continue from '%s': %s\n", path.c_str(), error.c_str());
    return 1;
  }
  position = snapshot.position;
  if (!ApplyRunSnapshot(std::move(snapshot), state, error)) {
    std::fprintf(err, "quorl: cannot continue from '%s': %s\n", path.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

int DrawSteppedRender(DrawingRun& run, ProgramState& state, const SteppedRender& how, std::FILE* err) {
  state.canvas.MultiplierMode = false;
  // Steps drawn ahead would carry the run past the step asked for.
  if (how.untilStep >= 0) run.SetStepsAhead(false);
  run.StartDrawing();
  if (how.resume)
    run.Resume(how.position);
  else
    run.Begin();
  while (how.untilStep < 0 || run.CurrentStep() <= how.untilStep) {
    if (!run.RunStep()) break;
  }
  int status = 0;
  if (!how.stateOut.empty()) {
    std::string error;
    if (!WriteRunStateFile(how.stateOut, kStateFileKind, TakeRunSnapshot(state, run.Position()), error)) {
      std::fprintf(err, "quorl: cannot write the state file '%s': %s\n", how.stateOut.c_str(), error.c_str());
      status = 1;
    }
  }
  run.Finish();
  return status;
}

}  // namespace quorl
