#include "canvas/canvas_grids.h"

#include <exception>

namespace quorl {

std::uint64_t GridBytesFor(long long width, long long height) {
  if (width <= 0 || height <= 0) return 0;
  const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  return pixels * (3 * 3 * sizeof(double) + sizeof(std::int32_t));
}

std::size_t CanvasGrids::Bytes() const {
  return (pixels.size() + background.size() + normal.size()) * sizeof(double) +
         firstStep.size() * sizeof(std::int32_t);
}

bool CanvasGrids::Consistent() const {
  if (width < 0 || height < 0) return false;
  const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  return pixels.size() == 3 * n && background.size() == 3 * n && normal.size() == 3 * n &&
         firstStep.size() == n;
}

void WriteCanvasGrids(ByteWriter& out, const CanvasGrids& grids) {
  out.I32(grids.width);
  out.I32(grids.height);
  out.Bool(grids.keepPicture);
  out.F64Array(grids.pixels.data(), grids.pixels.size());
  out.F64Array(grids.background.data(), grids.background.size());
  out.F64Array(grids.normal.data(), grids.normal.size());
  out.I32Array(grids.firstStep.data(), grids.firstStep.size());
}

bool ReadCanvasGrids(ByteReader& in, CanvasGrids& grids) {
  const std::int32_t width = in.I32();
  const std::int32_t height = in.I32();
  const bool keep = in.Bool();
  if (!in.Ok() || width < 0 || height < 0) {
    in.Fail();
    return false;
  }
  const std::uint64_t need = GridBytesFor(width, height);
  if (need > in.Left()) {
    in.Fail();
    return false;
  }
  const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  CanvasGrids read;
  try {
    read.pixels.resize(3 * n);
    read.background.resize(3 * n);
    read.normal.resize(3 * n);
    read.firstStep.resize(n);
  } catch (const std::exception&) {
    in.Fail();
    return false;
  }
  in.F64Array(read.pixels.data(), read.pixels.size());
  in.F64Array(read.background.data(), read.background.size());
  in.F64Array(read.normal.data(), read.normal.size());
  in.I32Array(read.firstStep.data(), read.firstStep.size());
  if (!in.Ok()) return false;
  read.width = width;
  read.height = height;
  read.keepPicture = keep;
  grids = std::move(read);
  return true;
}

}  // namespace quorl
