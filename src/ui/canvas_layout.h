// Where the canvas sits in its scroll box: full size, or scaled to fit
// with a margin; centred when smaller than the box, else at the top left.
#pragma once

namespace quorl {

struct CanvasLayout {
  double ZoomFactor = 1.0;
  bool stretched = false;
  int left = 0, top = 0;
  int width = 0, height = 0;
};

CanvasLayout LayOutCanvas(bool zoom_to_fit, int zoom_margin, int picture_width, int picture_height,
                          int box_width, int box_height);

}  // namespace quorl
