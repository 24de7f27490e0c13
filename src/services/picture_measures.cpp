#include "services/picture_measures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace quorl {
namespace {

int Brightness(const std::uint8_t* bgr) {
  return (2 * bgr[2] + 5 * bgr[1] + bgr[0]) / 8;
}

}  // namespace

PictureContent MeasureContent(const Picture24& picture) {
  PictureContent content;
  if (picture.Empty()) return content;
  const int w = picture.Width();
  const int h = picture.Height();
  std::array<int, 256> histogram{};
  double sum = 0, squares = 0;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = picture.Row(y);
    for (int x = 0; x < w; ++x) {
      const int b = Brightness(row + 3 * x);
      ++histogram[static_cast<std::size_t>(b)];
      sum += b;
      squares += static_cast<double>(b) * b;
    }
  }
  const double n = static_cast<double>(w) * h;
  const double mean = sum / n;
  content.spread = std::sqrt(std::max(0.0, squares / n - mean * mean));

  const std::array<int, 4> corners = {Brightness(picture.Row(0)), Brightness(picture.Row(0) + 3 * (w - 1)),
                                      Brightness(picture.Row(h - 1)),
                                      Brightness(picture.Row(h - 1) + 3 * (w - 1))};
  int background = -1;
  for (int candidate : corners) {
    int agree = 0;
    for (int other : corners) agree += std::abs(other - candidate) <= 2;
    if (agree >= 3) background = candidate;
  }
  if (background < 0) {
    background = 0;
    for (int b = 1; b < 256; ++b)
      if (histogram[static_cast<std::size_t>(b)] > histogram[static_cast<std::size_t>(background)])
        background = b;
  }
  long long covered = 0;
  for (int b = 0; b < 256; ++b)
    if (std::abs(b - background) > 4) covered += histogram[static_cast<std::size_t>(b)];
  content.covered = static_cast<double>(covered) / n;
  return content;
}

bool ShowsEnough(const PictureContent& content) {
  return content.covered >= 0.04 && content.spread >= 10.0;
}

}  // namespace quorl
