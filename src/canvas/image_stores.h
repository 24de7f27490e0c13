// The two pictures that colour the canvas besides the drawing itself: the
// source image that dots take their colours from, and the background image
// that a reset lays under the drawing. Loaders decode a file into a
// Picture24 and hand it over with SetPicture, so a store is never left half
// updated by a failed load.
#pragma once

#include <cstdint>
#include <vector>

#include "base/picture24.h"

namespace quorl {

// The row tables point into the store's own bitmap, so a store is neither
// copied nor moved.
struct SourceStore {
  SourceStore() = default;
  SourceStore(const SourceStore&) = delete;
  SourceStore& operator=(const SourceStore&) = delete;

  // SourceWidth + 1 pixels wide: the last column repeats the first, so the
  // sampler can always read one pixel to the right.
  Picture24 Bitmap;
  int SourceWidth = -2;
  int SourceHeight = -1;
  // SourceHeight + 1 entries, bottom row first; the last repeats entry 0.
  std::vector<const std::uint8_t*> SourceRows;

  bool Loaded() const { return SourceHeight > 0; }
  // Takes a copy of `picture` (rows top to bottom) as the source image. An
  // empty picture empties the store.
  void SetPicture(const Picture24& picture);
  void Clear();
};

struct BackgroundStore {
  BackgroundStore() = default;
  BackgroundStore(const BackgroundStore&) = delete;
  BackgroundStore& operator=(const BackgroundStore&) = delete;

  Picture24 Bitmap;
  int BackgroundWidth = -2;
  int BackgroundHeight = -1;
  // BackgroundHeight entries, bottom row first.
  std::vector<const std::uint8_t*> BackgroundRows;

  bool Loaded() const { return BackgroundHeight > 0; }
  void SetPicture(const Picture24& picture);
  void Clear();
};

}  // namespace quorl
