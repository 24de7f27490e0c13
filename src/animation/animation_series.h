// A series of frames: per frame, the animated values are computed from the
// parameters, then the host draws, saves and clears. The logic needs no
// window, so the command line makes the same frames as the window does.
#pragma once

#include <functional>
#include <string>

#include "engine/step_state.h"
#include "settings/parameter_set.h"

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
using PathAt = std::function<bool(double u, Point& point)>;

struct FrameInputs {
  Point rotateStart;  // the Points window's rotation point A
  Point rotateEnd;    // and B
  PathAt startPath;   // may be empty
  PathAt endPath;
};

// Sets every override of frame f of controls.frames (1-based).
void ComputeFrameOverrides(const ParameterSet& p, const SeriesControls& controls, int f,
                           const FrameInputs& inputs, AnimationOverrides& o);

// True when frame f is drawn rather than stepped over.
bool IsFrameDrawn(const SeriesControls& controls, int f);

// What a series reads and shows from frame to frame.
class SeriesView {
 public:
  virtual ~SeriesView() = default;
  // The frame number panel and progress bar.
  virtual void ShowFrame(int /*f*/) {}
  virtual void Status(const std::string& /*text*/) {}
  // Reads the rotation points as the Points window shows them; false with a
  // message when a field is not a number.
  virtual bool ReadRotationPoints(Point& a, Point& b, std::string& error) = 0;
  virtual PathAt StartPath() { return {}; }
  virtual PathAt EndPath() { return {}; }
  // "Stop" ticked in the window.
  virtual bool StopTicked() { return false; }
  virtual void ShowError(const std::string& /*text*/) {}
  // The controls the user may change while a series runs (start frame,
  // offset, the two "Move" boxes), read again before every frame. The
  // number of frames is fixed when the series starts.
  virtual void ReadLiveControls(SeriesControls& /*controls*/) {}
};

class SeriesHost : public SeriesView {
 public:
  // Draw, save and clear one frame.
  virtual void MakeFrame(int f) = 0;
};

enum class SeriesOutcome { Finished, StoppedEarly, FailedOnInput };

// Runs the whole series: sets InAnimation for its length, computes every
// frame's overrides, and lets the host make the frames that are drawn. A
// stop request that arrives while a frame is drawn ends the series after
// that frame, like ticking "Stop": later frames are stepped over, not drawn
// with a stop pending. The host sees the request in StopRequested when the
// frame's drawing returns and need not save that cut-short frame.
SeriesOutcome RunAnimationSeries(const ParameterSet& p, SeriesControls controls, RunFlags& flags,
                                 AnimationOverrides& o, SeriesHost& host);

// The same series a frame at a time, for a host that goes back to its event
// loop while a frame draws: Begin, then NextFrame and, after the host has
// made each frame it names, FrameMade; End when NextFrame returns false.
class SeriesStepper {
 public:
  // `p`, `flags` and `o` are used by reference for the whole series.
  SeriesStepper(const ParameterSet& p, const SeriesControls& controls, RunFlags& flags,
                AnimationOverrides& o);

  // Clears StopRequested, sets InAnimation, phase 0.
  void Begin();
  // Works out the following frames' overrides, stepping over the frames
  // that are not drawn, up to the next frame to draw: true with Frame() set
  // to it. False when no frame is left, or when the rotation points could
  // not be read (the view was shown the error).
  bool NextFrame(SeriesView& view);
  int Frame() const { return frame_; }
  // The host has made Frame(). A stop request that arrived meanwhile means
  // no further frame is drawn.
  void FrameMade();
  // No further frame is drawn; the rest are still stepped through.
  void StopDrawing() { stopped_ = true; }
  bool DrawingStopped() const { return stopped_; }
  // Clears InAnimation, the phase and the path offset; the other overrides
  // keep the last frame's values.
  SeriesOutcome End();

 private:
  const ParameterSet& p_;
  SeriesControls controls_;
  RunFlags& flags_;
  AnimationOverrides& o_;
  int frame_ = 0;
  bool stopped_ = false;
  bool failed_ = false;
};

}  // namespace quorl
