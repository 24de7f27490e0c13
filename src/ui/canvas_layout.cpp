#include "ui/canvas_layout.h"

#include <algorithm>
#include <cmath>

namespace quorl {

namespace {
// floor(size * factor) kept at 10 or more; factors that are 0 or negative
// (a box narrower than the margin) give 10 too.
int ScaledSide(int size, double factor) {
  const double scaled = std::floor(size * factor);
  if (!(scaled >= 10)) return 10;
  return scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
}

// Halves go to the even neighbour.
int CentredOffset(int box, int image) {
  return std::max(0, static_cast<int>(std::nearbyint((box - image) / 2.0)));
}
}  // namespace

CanvasLayout LayOutCanvas(bool zoom_to_fit, int zoom_margin, int picture_width, int picture_height,
                          int box_width, int box_height) {
  CanvasLayout layout;
  if (zoom_to_fit && picture_width >= 1 && picture_height >= 1) {
    layout.ZoomFactor = static_cast<double>(std::min(box_height, box_width) - zoom_margin) /
                        static_cast<double>(std::max(picture_height, picture_width));
    layout.stretched = true;
    layout.height = ScaledSide(picture_height, layout.ZoomFactor);
    layout.width = ScaledSide(picture_width, layout.ZoomFactor);
  } else {
    layout.width = std::max(0, picture_width);
    layout.height = std::max(0, picture_height);
  }
  layout.left = CentredOffset(box_width, layout.width);
  layout.top = CentredOffset(box_height, layout.height);
  return layout;
}

double FitFactor(int picture_width, int picture_height, int box_width, int box_height) {
  if (picture_width < 1 || picture_height < 1 || box_width < 1 || box_height < 1) return 1.0;
  const double factor = std::min(static_cast<double>(box_width) / picture_width,
                                 static_cast<double>(box_height) / picture_height);
  return std::clamp(factor, kMinZoom, kMaxZoom);
}

CanvasLayout LayOutZoomed(double factor, int picture_width, int picture_height, int box_width,
                          int box_height) {
  CanvasLayout layout;
  layout.ZoomFactor = factor;
  const auto side = [factor](int size) {
    if (size < 1) return 0;
    const double scaled = std::floor(size * factor);
    if (!(scaled >= 1)) return 1;
    return scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
  };
  layout.width = side(picture_width);
  layout.height = side(picture_height);
  layout.stretched = layout.width != picture_width || layout.height != picture_height;
  layout.left = CentredOffset(box_width, layout.width);
  layout.top = CentredOffset(box_height, layout.height);
  return layout;
}

bool ControlSquaresOnTopAt(double factor) {
  return factor > 3.0;
}

int ControlHalfForZoom(double factor) {
  if (!(factor > 0)) return 4;
  if (ControlSquaresOnTopAt(factor)) return static_cast<int>(std::max(0.0, std::ceil(4.5 / factor - 0.5)));
  const double half = std::round((9.0 / factor - 1.0) / 2.0);
  return static_cast<int>(std::clamp(half, 1.0, 400.0));
}

}  // namespace quorl
