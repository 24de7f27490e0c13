// Everything the program keeps between commands, as one object: the window
// owns one, the command line owns one, and tests make as many as they like.
#pragma once

#include <cstdint>
#include <string>

#include "base/seeded_random.h"
#include "canvas/canvas.h"
#include "canvas/image_stores.h"
#include "curves/curve_slots.h"
#include "engine/step_state.h"
#include "settings/parameter_set.h"
#include "settings/window_layout.h"

namespace quorl {

struct ProgramState {
  ProgramState() = default;
  // The canvas and the picture stores hold row tables into themselves.
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  // The parameters of the current style; CurrentStyle names it.
  ParameterSet params;
  // Where the windows stand and the folders the program starts from.
  WindowLayout layout;
  RunFlags flags;
  StepState step;
  AnimationOverrides anim;
  CurveSlots curves;
  Canvas canvas;
  SourceStore source;
  BackgroundStore background;
  // The Function window's "Use arctan2?" box: not a parameter, never stored.
  bool UseArctan2 = false;
  // "Use random scatter?" draws from here. Every Draw restarts it from
  // scatterSeed (draw_record.h); the window picks that from the clock per
  // Draw, the command line takes --seed or the seed the settings stored.
  SeededRandom random{1};
  std::uint64_t scatterSeed = 1;
  // Digest of the settings and curves the last Draw ended with (empty
  // after Clear).
  std::string drawnInputs;
};

}  // namespace quorl
