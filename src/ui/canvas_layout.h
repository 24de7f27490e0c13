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

// The views a user zooms between.
inline constexpr double kMinZoom = 1.0 / 32;
inline constexpr double kMaxZoom = 32;

// The factor that shows the whole picture in the box, as large as it fits;
// 1 for an empty picture or box.
double FitFactor(int picture_width, int picture_height, int box_width, int box_height);

// The picture at `factor` (each side at least one pixel), centred in the box
// when it is smaller, else at the top left.
CanvasLayout LayOutZoomed(double factor, int picture_width, int picture_height, int box_width,
                          int box_height);

// Half the side, in picture pixels, of a control point's square that shows
// about 9 x 9 screen pixels at `factor`.
// Above 3x (where a square of 3 x 3 picture pixels already spans 9 screen
// pixels) the canvas view paints the squares over the picture itself, and
// the half side is that of the picture pixels a 9 x 9 square on screen
// touches: the area a click picks the point in.
int ControlHalfForZoom(double factor);
bool ControlSquaresOnTopAt(double factor);

}  // namespace quorl
