// How much a picture shows: the share of pixels that stand out from its
// background, and how much the brightness varies. Random recipes use these
// to redraw pictures that came out almost empty or almost flat.
#pragma once

#include "base/picture24.h"

namespace quorl {

struct PictureContent {
  // Share of pixels whose brightness differs from the background colour by
  // more than a few levels (0 to 1).
  double covered = 0;
  // Standard deviation of the brightness over all pixels (0 to 255).
  double spread = 0;
};

// Brightness is (2 red + 5 green + blue) / 8. The background is the colour
// of the picture's four corners when three or more of them agree, else the
// most common brightness.
PictureContent MeasureContent(const Picture24& picture);

// The redraw rule of random recipes: at least 4 % of the pixels covered and a
// brightness spread of at least 10 levels.
bool ShowsEnough(const PictureContent& content);

}  // namespace quorl
