// What the core asks of whoever hosts it: the window or the command line.
// Every method has a quiet default so a test host overrides only what it
// watches. The core never sees a toolkit type.
#pragma once

#include <cstdint>
#include <string>

namespace quorl {

class Host {
 public:
  virtual ~Host() = default;

  // The one-line status line; an empty text clears it.
  virtual void ShowStatus(const std::string& /*message*/) {}
  // A message box with an OK button.
  virtual void ShowMessage(const std::string& /*text*/) {}
  // Progress bar: minimum 0, maximum as given, position 0.
  virtual void SetupProgressBar(int /*maximum*/) {}
  virtual void SetProgressPosition(int /*position*/) {}
  // Lets the user's edits, Stop and Clear arrive between steps.
  virtual void ProcessPendingEvents() {}
  // The mouse position in canvas pixels; false when there is no pointer
  // (the command line), in which case callers use the canvas centre.
  virtual bool MousePosition(int& /*px*/, int& /*py*/) { return false; }
  // The canvas picture changed and may be shown.
  virtual void RenderDone() {}

  // The Draw and Stop menu commands: Draw enabled and Stop disabled, or the
  // other way round while a run is drawing. The main window repaints.
  virtual void SetDrawCommandsEnabled(bool /*drawEnabled*/) {}
  // The Animation window's start button, disabled for the length of a run.
  virtual void EnableAnimationStart(bool /*enabled*/) {}
  // After Clear: re-fit the canvas to the window when "Zoom to fit" is on.
  virtual void RefitCanvasIfZoomed() {}
};

// Random numbers for the shape functions, seedable for reproducible pictures.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Uniform in [0, 1).
  virtual double Random() = 0;
};

}  // namespace quorl
