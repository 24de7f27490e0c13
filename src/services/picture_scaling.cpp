#include "services/picture_scaling.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quorl {
namespace {

// For every target index, the source cells it covers with their weights.
struct Span {
  int first = 0;
  std::vector<double> weights;
};

std::vector<Span> Spans(int from, int to) {
  std::vector<Span> spans(static_cast<std::size_t>(to));
  const double ratio = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double start = i * ratio, end = (i + 1) * ratio;
    Span& span = spans[static_cast<std::size_t>(i)];
    span.first = static_cast<int>(std::floor(start));
    for (int s = span.first; s < from && s < end; ++s)
      span.weights.push_back((std::min(end, s + 1.0) - std::max(start, static_cast<double>(s))) / ratio);
  }
  return spans;
}

}  // namespace

Picture24 ShrinkToFit(const Picture24& picture, int width, int height) {
  if (picture.Empty() || width < 1 || height < 1) return {};
  if (picture.Width() <= width && picture.Height() <= height) return picture;
  const double scale =
      std::min(static_cast<double>(width) / picture.Width(), static_cast<double>(height) / picture.Height());
  const int w = std::max(1, static_cast<int>(std::lround(picture.Width() * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(picture.Height() * scale)));
  const std::vector<Span> columns = Spans(picture.Width(), w), rows = Spans(picture.Height(), h);
  Picture24 out(w, h);
  for (int y = 0; y < h; ++y) {
    const Span& row = rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < w; ++x) {
      const Span& column = columns[static_cast<std::size_t>(x)];
      double sum[3] = {0, 0, 0};
      for (std::size_t j = 0; j < row.weights.size(); ++j) {
        const std::uint8_t* line = picture.Row(row.first + static_cast<int>(j));
        for (std::size_t i = 0; i < column.weights.size(); ++i) {
          const double weight = row.weights[j] * column.weights[i];
          const std::uint8_t* p = line + 3 * (column.first + static_cast<int>(i));
          for (int c = 0; c < 3; ++c) sum[c] += weight * p[c];
        }
      }
      std::uint8_t* q = out.Row(y) + 3 * x;
      for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>(std::clamp(std::lround(sum[c]), 0L, 255L));
    }
  }
  return out;
}

}  // namespace quorl
