// A series of frames: per frame, the animated values are computed from the
// parameters, then the host draws, saves and clears. The logic needs no
// window, so the command line makes the same frames as the window does.
#pragma once

#include <functional>
#include <string>

#include "engine/parameter_set.h"
#include "engine/step_state.h"

namespace quorl {

// What the Animation and Animation Points windows contribute besides the
// stored parameters.
struct SeriesControls {
  int frames = 1;             // F
  int startFrame = 1;         // frames before it are stepped over
  bool offsetTicked = false;  // "Offset?"
  int offsetPosition = 1;     // path offset cycles
  bool moveStart = false;     // "Move start point in animation?"
  bool moveEnd = false;       // "Move end point in animation?"
  // Only frames firstFrame..lastFrame are drawn (the others are stepped
  // over, so a frame is the same picture whichever range made it).
  int firstFrame = 1;
  int lastFrame = 1 << 30;
};

// The point of an animation path at u in [0, 1]; false while the path has no
// smooth curve yet (then it shifts nothing).
using PathAt = std::function<bool(double u, RealPoint& point)>;

struct FrameInputs {
  RealPoint rotateStart;  // the Points window's rotation point A
  RealPoint rotateEnd;    // and B
  PathAt startPath;       // may be empty
  PathAt endPath;
};

// Sets every override of frame f of controls.frames (1-based).
void ComputeFrameOverrides(const ParameterSet& p, const SeriesControls& controls, int f,
                           const FrameInputs& inputs, AnimationOverrides& o);

// True when frame f is drawn rather than stepped over.
bool IsFrameDrawn(const SeriesControls& controls, int f);

class SeriesHost {
 public:
  virtual ~SeriesHost() = default;
  // The frame number panel and progress bar.
  virtual void ShowFrame(int /*f*/) {}
  virtual void Status(const std::string& /*text*/) {}
  // Reads the rotation points as the Points window shows them; false with a
  // message when a field is not a number.
  virtual bool ReadRotationPoints(RealPoint& a, RealPoint& b, std::string& error) = 0;
  virtual PathAt StartPath() { return {}; }
  virtual PathAt EndPath() { return {}; }
  // Draw, save and clear one frame.
  virtual void MakeFrame(int f) = 0;
  // "Stop" ticked in the window.
  virtual bool StopTicked() { return false; }
  virtual void ShowError(const std::string& /*text*/) {}
};

enum class SeriesOutcome { Finished, StoppedEarly, FailedOnInput };

// Runs the whole series: sets InAnimation for its length, computes every
// frame's overrides, and lets the host make the frames that are drawn. A
// stop request that arrives while a frame is drawn ends the series after
// that frame, like ticking "Stop": no broken frames are saved.
SeriesOutcome RunAnimationSeries(const ParameterSet& p, SeriesControls controls, RunFlags& flags,
                                 AnimationOverrides& o, SeriesHost& host);

}  // namespace quorl
