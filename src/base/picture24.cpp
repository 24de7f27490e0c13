#include "base/picture24.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace quorl {

std::size_t GridCellCount(int width, int height, int per_cell) {
  const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
  const std::size_t h = static_cast<std::size_t>(std::max(height, 0));
  const std::size_t c = static_cast<std::size_t>(std::max(per_cell, 0));
  const std::size_t limit = std::numeric_limits<std::ptrdiff_t>::max() / 8;
  if (w != 0 && h > limit / w) throw std::length_error("picture too large");
  if (c != 0 && w * h > limit / c) throw std::length_error("picture too large");
  return w * h * c;
}

void Picture24::Resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<std::uint8_t> bytes(GridCellCount(width, height, 3), 0);
  const int keep_rows = std::min(height, height_);
  const std::size_t keep_bytes = static_cast<std::size_t>(std::min(width, width_)) * 3;
  const std::size_t new_stride = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < keep_rows && keep_bytes > 0; ++y)
    std::memcpy(bytes.data() + y * new_stride, Row(y), keep_bytes);
  bytes_.swap(bytes);
  width_ = width;
  height_ = height;
}

void Picture24::DrawAtOrigin(const Picture24& source) {
  const int rows = std::min(height_, source.height_);
  const std::size_t row_bytes = static_cast<std::size_t>(std::min(width_, source.width_)) * 3;
  if (row_bytes == 0) return;
  for (int y = 0; y < rows; ++y) std::memcpy(Row(y), source.Row(y), row_bytes);
}

}  // namespace quorl
