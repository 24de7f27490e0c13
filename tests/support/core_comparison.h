// What window tests hold a window's run against: a core run that takes an
// edit between the same two steps, and a comparison of two canvases to the
// bit.
#pragma once

#include <cstring>
#include <functional>

#include "canvas/canvas.h"
#include "engine/drawing_run.h"
#include "support/engine_test_support.h"

namespace quorl::testing {

// A core run's host that does `between` after the run drew step `after`.
class InjectingHost : public TestHost {
 public:
  DrawingRun* run = nullptr;
  int after = -1;
  std::function<void()> between;
  void ProcessPendingEvents() override {
    if (run->CurrentStep() == after + 1 && between) between();
  }
};

// The same pixel buffer, bit for bit, and the same bitmap.
inline bool SameCanvas(const Canvas& a, const Canvas& b) {
  if (a.CanvasWidth() != b.CanvasWidth() || a.CanvasHeight() != b.CanvasHeight()) return false;
  for (int y = 0; y < a.CanvasHeight(); ++y)
    for (int x = 0; x < a.CanvasWidth(); ++x)
      for (int c = 0; c < 3; ++c) {
        const double u = a.Pixel(c, x, y), v = b.Pixel(c, x, y);
        if (std::memcmp(&u, &v, sizeof u) != 0) return false;
      }
  return a.Bitmap().Bytes() == b.Bitmap().Bytes();
}

}  // namespace quorl::testing
