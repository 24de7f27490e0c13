// A copy of the canvas's grids: what a state file or an autosave keeps of
// the canvas. The bitmap is not part of it, since every render makes it
// again from the grids.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/byte_stream.h"

namespace quorl {

struct CanvasGrids {
  int width = 0;
  int height = 0;
  std::vector<double> pixels;           // width * height * 3
  std::vector<double> background;       // width * height * 3
  std::vector<double> normal;           // width * height * 3
  std::vector<std::int32_t> firstStep;  // width * height
  bool keepPicture = false;

  // Bytes the grids take in memory.
  std::size_t Bytes() const;
  // The sizes of the vectors agree with width and height.
  bool Consistent() const;
  bool operator==(const CanvasGrids&) const = default;
};

// Bytes the grids of a width x height canvas take (0 for negative sizes).
std::uint64_t GridBytesFor(long long width, long long height);

void WriteCanvasGrids(ByteWriter& out, const CanvasGrids& grids);
// Checks every size against the bytes left before allocating; false (and
// `in` failed) for damaged input, or when memory runs out.
bool ReadCanvasGrids(ByteReader& in, CanvasGrids& grids);

}  // namespace quorl
