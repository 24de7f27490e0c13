// What the core asks of whoever hosts it: the window or the command line.
// Every method has a quiet default so a test host overrides only what it
// watches. The core never sees a toolkit type, and it tells the host what
// happened (RunEvent), never which button to enable: the host maps events
// to its own controls.
#pragma once

#include <cstdint>
#include <string>

namespace quorl {

// What a drawing run or the canvas tells its host.
enum class RunEvent {
  kRunStarted,      // a run began drawing; Draw is not available until it ends
  kStopRequested,   // a stop was asked for; the run ends after the current step
  kRunFinished,     // the run ended, drawn to its last step or stopped
  kCanvasCleared,   // the canvas was cleared and may have a new size
  kPictureChanged,  // the canvas picture changed and may be shown
};

class Host {
 public:
  virtual ~Host() = default;

  // The one-line status text; an empty text clears it.
  virtual void ShowStatus(const std::string& /*message*/) {}
  // A message the user must acknowledge.
  virtual void ShowMessage(const std::string& /*text*/) {}
  // Progress of a run: it goes from 0 to `last`; `position` 0 means idle.
  virtual void StartProgress(int /*last*/) {}
  virtual void ShowProgress(int /*position*/) {}
  // Lets the user's edits, Stop and Clear arrive between steps.
  virtual void ProcessPendingEvents() {}
  // Polled between steps: true ends the run after the current step, as a
  // stop request does.
  virtual bool Cancelled() { return false; }
  // The mouse position in canvas pixels; false when there is no pointer
  // (the command line), in which case callers use the canvas centre.
  virtual bool MousePosition(int& /*px*/, int& /*py*/) { return false; }
  virtual void OnRunEvent(RunEvent /*event*/) {}
};

// Random numbers for the shape functions, seedable for reproducible pictures.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Uniform in [0, 1).
  virtual double Random() = 0;
};

}  // namespace quorl
