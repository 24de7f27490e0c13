// The vector path of dot placement, compiled by Highway for the instruction
// sets below and chosen at run time for the CPU; other CPUs take the
// scalar path.
//
// Placing a dot's sub-sample grid (a column per grid column, a row per grid
// row, two divisions each) is independent work, done four lanes at a time
// with the scalar path's IEEE operations in its order: no fused
// multiply-add (Highway's MulAdd is one; the build forbids the compiler to
// contract), no reassociation. The colouring itself stays scalar: each
// sub-sample reads what the previous one on its pixel wrote, and neighbours
// 0.35 pixel apart mostly share a pixel, so the pixel updates form chains
// that wider registers do not shorten.

// Only the 256-bit x86 target and the portable fallback are built: the
// others would add compile time and little speed.
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS (HWY_SSSE3 | HWY_SSE4 | HWY_AVX3 | HWY_AVX3_DL)
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "canvas/dot_kernel_vector.cpp"
#include <hwy/foreach_target.h>  // must come before highway.h
#include <hwy/highway.h>

#include "canvas/dot_kernel.h"

HWY_BEFORE_NAMESPACE();
namespace quorl {
namespace HWY_NAMESPACE {

#if HWY_TARGET == HWY_AVX2

namespace hn = hwy::HWY_NAMESPACE;

void MapGrid(const GridMapping& grid, double x, double y, int* cols, int* rows) {
  const hn::Full256<double> d;
  const hn::Rebind<std::int32_t, decltype(d)> di;
  const auto height = hn::Set(d, grid.height);
  const auto two_scale = hn::Set(d, grid.two_scale);
  const auto zero = hn::Zero(d);
  const auto below = hn::Set(d, -2147483649.0);
  const auto above = hn::Set(d, 2147483648.0);
  const auto off = hn::Set(d, -1.0);
  // v = (value + shift) * height; -1 when v < 0 or v / two_scale is not
  // inside the range of an int (NaN included), else truncated.
  const auto place = [&](decltype(zero) value, decltype(zero) shift, int* out) {
    const auto v = hn::Mul(hn::Add(value, shift), height);
    const auto index = hn::Div(v, two_scale);
    const auto fits = hn::And(hn::Lt(index, above), hn::Gt(index, below));
    const auto bad = hn::Or(hn::Lt(v, zero), hn::Not(fits));
    hn::StoreU(hn::DemoteTo(di, hn::IfThenElse(bad, off, index)), di, out);
  };
  const auto px = hn::Set(d, x);
  const auto py = hn::Set(d, y);
  const auto shift_x = hn::Set(d, grid.shift_x);
  const auto shift_y = hn::Set(d, grid.shift_y);
  for (int i = 0; i < grid.side; i += 4) {
    const auto offset = hn::LoadU(d, grid.offsets + i);
    place(hn::Add(px, offset), shift_x, cols + i);
    place(hn::Add(py, offset), shift_y, rows + i);
  }
}

#else

void MapGrid(const GridMapping& grid, double x, double y, int* cols, int* rows) {
  MapGridScalar(grid, x, y, cols, rows);
}

#endif

}  // namespace HWY_NAMESPACE
}  // namespace quorl
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace quorl {

HWY_EXPORT(MapGrid);

void MapGridVector(const GridMapping& grid, double x, double y, int* cols, int* rows) {
  HWY_DYNAMIC_DISPATCH(MapGrid)(grid, x, y, cols, rows);
}

bool VectorKernelAvailable() {
#if HWY_TARGETS & HWY_AVX2
  return (hwy::SupportedTargets() & HWY_AVX2) != 0;
#else
  return false;
#endif
}

}  // namespace quorl
#endif
