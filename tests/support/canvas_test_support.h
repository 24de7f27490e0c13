// Shared set-up for the canvas tests: a small square canvas whose plane runs
// from -1 to 1 on both axes, so a pixel is 2 / size real units wide.
#pragma once

#include <cstring>

#include "canvas/canvas.h"
#include "canvas/dot_kernel.h"
#include "canvas/image_stores.h"
#include "settings/parameter_set.h"

namespace quorl::testing {

struct SmallCanvas {
  explicit SmallCanvas(int size = 20, bool white = false) {
    params.ImageWidth = size;
    params.ImageHeight = size;
    params.White = white;
    const int bg = white ? 255 : 0;
    params.BgMaxRed = params.BgMaxGreen = params.BgMaxBlue = bg;
    dot.StepScale = 1;
    for (int c = 0; c < 3; ++c) dot.StepAmount[c] = 1;
    dot.StepColor[0] = dot.StepColor[1] = dot.StepColor[2] = 255;
    canvas.SetImageDimensions(params);
    canvas.MakePictureBlack(params, background);
  }

  // Real coordinate of a pixel position (pixel units from the left or
  // bottom edge; 10.5 is the centre of column 10).
  double X(double px) const { return -1.0 + px * 2.0 / params.ImageWidth; }
  double Y(double py) const { return -1.0 + py * 2.0 / params.ImageHeight; }

  void Prepare(double dotSize, int step = 0, int steps = 1000, int pointCount = 100) {
    dot.step = step;
    dot.Steps = steps;
    dot.dotSize = dotSize;
    dot.pointCount = pointCount;
    kernel.Prepare(params, source, canvas, dot);
  }

  void Add(double x, double y, int index = 1, double z = 1) {
    AddColorToPixels(canvas, kernel, {x, y, index, z});
  }

  double Sum(int channel) const {
    double total = 0;
    for (int y = 0; y < canvas.CanvasHeight(); ++y)
      for (int x = 0; x < canvas.CanvasWidth(); ++x) total += canvas.Pixel(channel, x, y);
    return total;
  }

  ParameterSet params;
  SourceStore source;
  BackgroundStore background;
  Canvas canvas;
  DotStep dot;
  DotKernel kernel;
};

// The same pixel buffer and first steps, bit for bit (NaNs and -0 too).
inline bool SamePixels(const Canvas& a, const Canvas& b) {
  if (a.CanvasWidth() != b.CanvasWidth() || a.CanvasHeight() != b.CanvasHeight()) return false;
  for (int y = 0; y < a.CanvasHeight(); ++y)
    for (int x = 0; x < a.CanvasWidth(); ++x) {
      if (a.FirstStep(x, y) != b.FirstStep(x, y)) return false;
      for (int c = 0; c < 3; ++c) {
        const double u = a.Pixel(c, x, y), v = b.Pixel(c, x, y);
        if (std::memcmp(&u, &v, sizeof u) != 0) return false;
      }
    }
  return true;
}

}  // namespace quorl::testing
