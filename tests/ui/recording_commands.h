// A stand-in for the main window's canvas commands: it does what Clear and
// the reset do to the canvas and records every call and status message.
#pragma once

#include <QStringList>
#include <string>

#include "engine/program_state.h"
#include "ui/canvas_commands.h"

namespace quorl::test {

class RecordingCommands : public CanvasCommands {
 public:
  explicit RecordingCommands(ProgramState& state) : state_(state) {
    state_.canvas.SetImageDimensions(state_.params);
    state_.canvas.MakePictureBlack(state_.params, state_.background);
  }

  void ClearCanvas() override {
    ++clears;
    state_.canvas.SetImageDimensions(state_.params);
    state_.canvas.MakePictureBlack(state_.params, state_.background);
  }
  void ResetCanvas() override {
    ++resets;
    state_.canvas.MakePictureBlack(state_.params, state_.background);
  }
  void ShowStatus(const std::string& message) override { status << QString::fromStdString(message); }

  int clears = 0;
  int resets = 0;
  QStringList status;

 private:
  ProgramState& state_;
};

}  // namespace quorl::test
