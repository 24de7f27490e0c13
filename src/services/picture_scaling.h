// Making a picture smaller for thumbnails and contact sheets, without a
// window toolkit.
#pragma once

#include "base/picture24.h"

namespace quorl {

// The picture scaled to fit inside width x height, keeping its proportions:
// each new pixel is the average of the source pixels it covers (weighted by
// how much of each it covers). A picture already small enough is returned as
// it is; an empty one gives an empty one.
Picture24 ShrinkToFit(const Picture24& picture, int width, int height);

}  // namespace quorl
