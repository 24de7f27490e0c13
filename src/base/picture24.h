// A 24-bit picture in memory: rows top to bottom, three bytes per pixel in
// the order blue, green, red, no padding between rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorl {

class Picture24 {
 public:
  Picture24() = default;
  Picture24(int width, int height) { Resize(width, height); }

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  std::size_t Stride() const { return static_cast<std::size_t>(width_) * 3; }

  // Row 0 is the top row.
  std::uint8_t* Row(int y) { return bytes_.data() + static_cast<std::size_t>(y) * Stride(); }
  const std::uint8_t* Row(int y) const { return bytes_.data() + static_cast<std::size_t>(y) * Stride(); }

  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  // Changes the size like a bitmap does: pixels whose position still exists
  // keep their colour, new pixels are black. Negative sizes count as 0.
  // Throws std::length_error or std::bad_alloc when the size cannot be held;
  // the picture is then unchanged.
  void Resize(int width, int height);

  // Copies `source` onto this picture with its top-left corner at (0, 0);
  // whatever does not fit is left out.
  void DrawAtOrigin(const Picture24& source);

  void SetPixel(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::uint8_t* p = Row(y) + 3 * static_cast<std::size_t>(x);
    p[0] = blue;
    p[1] = green;
    p[2] = red;
  }

  bool operator==(const Picture24&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bytes_;
};

// The number of cells of a width x height grid with `per_cell` values each;
// throws std::length_error when that does not fit in memory addressing.
std::size_t GridCellCount(int width, int height, int per_cell);

}  // namespace quorl
