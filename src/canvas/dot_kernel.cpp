#include "canvas/dot_kernel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/pixel_math.h"
#include "base/plane_conversion.h"
#include "base/step_arithmetic.h"

namespace quorl {

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

// a + (b - a) * u / v
double Lerp(double a, double b, double u, double v) {
  return a + (b - a) * u / v;
}

// ((i mod size) + size) mod size for a whole-numbered double, with the
// remainder taking the dividend's sign: always a column or row inside.
int Wrap(double i, int size) {
  const double s = size;
  return static_cast<int>(std::fmod(std::fmod(i, s) + s, s));
}

}  // namespace

// Defined below, with the colour rules.
void FillUnitTerms(DotKernel& k);

void DotKernel::Prepare(const ParameterSet& params, const SourceStore& source, const Canvas& canvas,
                        const DotStep& dot) {
  too_large_ = false;
  step_ = dot.step;
  width_ = canvas.CanvasWidth();
  height_ = canvas.CanvasHeight();
  freeze_step_ = dot.step - dot.Steps * params.SourceImageOpacityThreshold;

  // Geometry of the dot.
  scale_ = dot.StepScale;
  const double w = width_;
  const double h = height_;
  const double pw = 2 * scale_ / w;
  const double ph = 2 * scale_ / h;
  const double R = dot.dotSize * (pw + ph) / 2;
  const double n = RoundHalfEven(dot.dotSize);
  use_dimmer_ = params.UseDimmer;
  dimmer_ = dot.DimmerFactor;
  side_ = 0;
  sub_samples_ = 0;
  offset_.clear();
  weights_.clear();
  inside_.clear();
  if (width_ > 0 && height_ > 0 && n >= 0) {
    if (n > kMaxDotGrid) {
      too_large_ = true;
    } else {
      const int count = static_cast<int>(n);
      side_ = count + 1;
      // dx of column i and dy of row i are the same expression.
      for (int i = 0; i <= count; ++i) offset_.push_back((i - n / 2) * pw * 0.35);
      // Room for the vector path's last whole vector.
      while (offset_.size() % 4 != 0) offset_.push_back(0);
      weights_.assign(static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_), 0.0);
      inside_.assign(weights_.size(), 0);
      for (int i = 0; i <= count; ++i) {
        for (int j = 0; j <= count; ++j) {
          const double dx = offset_[static_cast<std::size_t>(i)];
          const double dy = offset_[static_cast<std::size_t>(j)];
          const double d = DistanceOfPoint(dx, dy);
          if (!(d < R)) continue;
          double weight = (1 - d / R) * (1 - d / R);
          if (use_dimmer_) weight = weight * dimmer_;
          const std::size_t cell = static_cast<std::size_t>(i) * static_cast<std::size_t>(side_) + j;
          weights_[cell] = weight;
          inside_[cell] = 1;
          ++sub_samples_;
        }
      }
    }
  }

  grid_.offsets = offset_.data();
  grid_.side = side_;
  grid_.shift_x = scale_ * width_ / height_;
  grid_.shift_y = scale_;
  grid_.height = height_;
  grid_.two_scale = 2 * scale_;

  // Which rule gives the weights.
  point_count_ = dot.pointCount;
  const bool source_on = source.Loaded() && params.UseSourceImage;
  if (source_on) {
    weight_rule_ = WeightRule::kSourceImage;
    source_rows_ = source.SourceRows.data();
    source_width_ = source.SourceWidth;
    source_divisor_ = params.UseOpaquePixels ? 1 : 256;
    offset_per_step_ =
        Lerp(params.SourceImageStartOffsetPerStep, params.SourceImageEndOffsetPerStep, dot.step, dot.Steps);
    const double offset_overall =
        Lerp(params.SourceImageStartOffsetOverall, params.SourceImageEndOffsetOverall, dot.step, dot.Steps);
    source_theta_multiplier_ = dot.SourceThetaMultiplier;
    const double v = (static_cast<double>(dot.step) / dot.Steps + offset_overall) * source.SourceHeight *
                     dot.SourceStepMultiplier;
    source_row_ok_ = std::isfinite(v);
    if (source_row_ok_) {
      const double iv = std::floor(v);
      source_fv_ = v - iv;
      source_row_ = Wrap(iv, source.SourceHeight);
    } else {
      sub_samples_ = 0;
    }
  } else if (params.NewColor) {
    weight_rule_ = params.OneOrTwo ? WeightRule::kNewColorFromPosition : WeightRule::kNewColorCycle;
    phase_ = dot.AnimationPhase;
    step_angle_ =
        kTwoPi * params.StepColorMultiplier * dot.StepColorSlotMultiplier * dot.step / dot.Steps + 2 * phase_;
    theta_factor_ = kTwoPi * params.ThetaColorMultiplier * dot.ThetaColorSlotMultiplier;
  } else {
    weight_rule_ = WeightRule::kSoftDot;
  }

  // How the weights combine with the pixels.
  channel_rule_ =
      source_on && params.UseOpaquePixels ? ChannelRule::kOpaqueSource : ChannelRule::kAddOrSubtract;
  white_ = params.White;
  best_guess_ = params.BestGuess;
  limits_ = params.UseColorsAsLimits;
  unclamped_ = params.InterpolateColors;
  level_ = white_ ? 255 : 0;
  for (int c = 0; c < 3; ++c) {
    amount_[c] = dot.StepAmount[c];
    colour_[c] = dot.StepColor[c];
  }
  FillUnitTerms(*this);
}

// The weights of a point for the rules that do not depend on the
// sub-sample, dimmer applied. False when the point cannot be coloured.
bool DotKernel::PointWeights(const DotPoint& point, double w[3]) const {
  switch (weight_rule_) {
    case WeightRule::kSourceImage: {
      const double u = (offset_per_step_ - static_cast<double>(point.index) / point_count_) * source_width_ *
                       source_theta_multiplier_;
      if (!std::isfinite(u)) return false;
      const double iu = std::floor(u);
      const double fu = u - iu;
      const double fv = source_fv_;
      const int c = Wrap(iu, source_width_);
      const int r = source_row_;
      const std::uint8_t* row0 = source_rows_[r] + 3 * c;
      const std::uint8_t* row1 = source_rows_[r + 1] + 3 * c;
      // Bytes are blue, green, red; channel 0 is red.
      for (int ch = 0; ch < 3; ++ch) {
        const int b = 2 - ch;
        const double s = (1 - fu) * (1 - fv) * row0[b] + fu * (1 - fv) * row0[3 + b] + fu * fv * row1[3 + b] +
                         (1 - fu) * fv * row1[b];
        w[ch] = white_ ? (255 - s) / source_divisor_ : s / source_divisor_;
      }
      break;
    }
    case WeightRule::kNewColorFromPosition: {
      const double x = point.x;
      const double y = point.y;
      w[0] = std::fabs(Larger(std::sin(x * y), std::cos(y * y))) / 2;
      w[1] = std::fabs(Larger(std::sin(x * y), std::cos(x * x))) / 2;
      w[2] = std::fabs(Larger(std::cos(x + y), std::sin(x * y)));
      break;
    }
    case WeightRule::kNewColorCycle: {
      const double a = step_angle_;
      const double b = theta_factor_ * point.index / point_count_ + phase_;
      w[0] = 1 - std::cos(phase_ - a + b);
      w[1] = 1 - std::sin(phase_ + a - b);
      w[2] = 1 - std::cos(phase_ + a + b);
      break;
    }
    case WeightRule::kSoftDot:
      return true;
  }
  if (use_dimmer_)
    for (int c = 0; c < 3; ++c) w[c] = w[c] * dimmer_;
  return true;
}

bool DotKernel::MapPoint(const DotPoint& point, int* cols, int* rows, double w[3],
                         PixelRangeFaults* faults) const {
  if (sub_samples_ == 0) return false;
  double point_w[3] = {1, 1, 1};
  if (!PointWeights(point, point_w)) return false;
  if (weight_rule_ == WeightRule::kSoftDot) {
    w[0] = point.ZFactor;
  } else {
    for (int c = 0; c < 3; ++c) w[c] = point_w[c] * point.ZFactor;
  }
  // A sub-sample's column depends on its dx alone and its row on its dy
  // alone, so side_ of each serve all side_ * side_ sub-samples.
  if (scalar_only_) {
    for (int i = 0; i < side_; ++i) {
      const double offset = offset_[static_cast<std::size_t>(i)];
      cols[i] = GetPixelFromReal(Axis::X, point.x + offset, scale_, width_, height_, faults);
      rows[i] = GetPixelFromReal(Axis::Y, point.y + offset, scale_, width_, height_, faults);
    }
  } else {
    MapGridVector(grid_, point.x, point.y, cols, rows);
    if (faults) {
      // -1 is also what a position left of or below the canvas gives: the
      // scalar rule tells the two apart and counts only those too far off.
      for (int i = 0; i < side_; ++i) {
        const double offset = offset_[static_cast<std::size_t>(i)];
        if (cols[i] < 0) GetPixelFromReal(Axis::X, point.x + offset, scale_, width_, height_, faults);
        if (rows[i] < 0) GetPixelFromReal(Axis::Y, point.y + offset, scale_, width_, height_, faults);
      }
    }
  }
  return true;
}

void MapGridScalar(const GridMapping& grid, double x, double y, int* cols, int* rows) {
  const auto pixel = [&grid](double value, double shift) {
    const double v = (value + shift) * grid.height;
    if (v < 0) return -1;
    const double index = v / grid.two_scale;
    if (!(index < 2147483648.0 && index > -2147483649.0)) return -1;
    return static_cast<int>(index);
  };
  for (int i = 0; i < grid.side; ++i) {
    cols[i] = pixel(x + grid.offsets[i], grid.shift_x);
    rows[i] = pixel(y + grid.offsets[i], grid.shift_y);
  }
}

// The colouring of one step's points, with the rules fixed at compile time
// so the sub-sample loop carries no tests of them.
struct DotColouring {
  enum class Combine { kLimits, kUnclamped, kClamped, kOpaque };
  enum class Subtract { kAlways, kBestGuess, kNever };

  template <bool kSoftDot, Combine kCombine, Subtract kSubtract>
  struct Rules {
    static constexpr bool kSoftDotRule = kSoftDot;
    static constexpr Combine kCombineRule = kCombine;
    static constexpr Subtract kSubtractRule = kSubtract;
  };

  // Calls visit(Rules<...>{}) with the kernel's rules.
  template <typename Visit>
  static void WithRules(const DotKernel& k, Visit&& visit) {
    if (k.channel_rule_ == DotKernel::ChannelRule::kOpaqueSource) {
      visit(Rules<false, Combine::kOpaque, Subtract::kNever>{});
      return;
    }
    const auto subtract = [&k, &visit](auto soft, auto combine) {
      constexpr bool S = decltype(soft)::value;
      constexpr Combine C = decltype(combine)::value;
      if (k.white_)
        visit(Rules<S, C, Subtract::kAlways>{});
      else if (k.best_guess_)
        visit(Rules<S, C, Subtract::kBestGuess>{});
      else
        visit(Rules<S, C, Subtract::kNever>{});
    };
    const auto combine = [&k, &subtract](auto soft) {
      if (k.limits_)
        subtract(soft, std::integral_constant<Combine, Combine::kLimits>{});
      else if (k.unclamped_)
        subtract(soft, std::integral_constant<Combine, Combine::kUnclamped>{});
      else
        subtract(soft, std::integral_constant<Combine, Combine::kClamped>{});
    };
    if (k.weight_rule_ == DotKernel::WeightRule::kSoftDot)
      combine(std::true_type{});
    else
      combine(std::false_type{});
  }

  // The kernel's values the sub-sample loop reads, copied into a local so
  // the compiler keeps them in registers across the pixel stores.
  struct Constants {
    std::int32_t step;
    double freeze_step;
    double g;
    bool white;
    int width;
    int side;
    double A[3];
    double L[3];
  };

  static Constants ConstantsOf(const DotKernel& k) {
    Constants c{k.step_, k.freeze_step_, k.level_, k.white_, k.width_, k.side_, {}, {}};
    for (int i = 0; i < 3; ++i) {
      c.A[i] = k.amount_[i];
      c.L[i] = k.colour_[i];
    }
    return c;
  }

  // What a sub-sample of weights w does to a pixel, as far as it does not
  // depend on the pixel: T[0..2] the subtracted change (with limits A * w,
  // for opaque pixels the target value), T[3..5] the added change. The
  // arithmetic is that of the rules below, only done ahead.
  template <typename R>
  static inline void Terms(const Constants& k, const double w[3], double T[6]) {
    const double* A = k.A;
    const double* L = k.L;
    if constexpr (R::kCombineRule == Combine::kOpaque) {
      for (int c = 0; c < 3; ++c) T[c] = k.white ? 255 - w[c] : w[c];
    } else if constexpr (R::kCombineRule == Combine::kLimits) {
      for (int c = 0; c < 3; ++c) T[c] = A[c] * w[c];
    } else {
      if constexpr (R::kSubtractRule != Subtract::kNever)
        for (int c = 0; c < 3; ++c) T[c] = A[c] * w[c] * (L[c] - 255) / 255;
      if constexpr (R::kSubtractRule != Subtract::kAlways)
        for (int c = 0; c < 3; ++c) T[3 + c] = A[c] * w[c] * L[c] / 255;
    }
  }

  // Steps 5 and 6 of one sub-sample on a pixel's channels P, with its first
  // step `first` as it stands before this sub-sample and the sub-sample's
  // terms T.
  template <typename R>
  static inline void CombineIntoPixel(const Constants& k, double P[3], std::int32_t first,
                                      const double T[6]) {
    const double g = k.g;
    const double* A = k.A;
    const double* L = k.L;
    if constexpr (R::kCombineRule == Combine::kOpaque) {
      // A pixel stays open for a while after a dot first reached it; a pixel
      // of a background picture (not the flat background) is never painted.
      const bool background = P[0] == g && P[1] == g && P[2] == g;
      const bool frozen = !background && (first <= k.freeze_step || first == Canvas::kNeverPainted);
      if (frozen) return;
      for (int c = 0; c < 3; ++c) {
        const double t = T[c];
        if (P[c] == g && t != g)
          P[c] = (g + t) / 2;
        else
          P[c] = t;
      }
    } else {
      bool subtract = R::kSubtractRule == Subtract::kAlways;
      if constexpr (R::kSubtractRule == Subtract::kBestGuess)
        subtract = P[0] > A[0] && P[1] > A[1] && P[2] > A[2];
      if (subtract) {
        if constexpr (R::kCombineRule == Combine::kLimits) {
          // Each turn lowers the two other channels, floored at the step colour.
          for (int c = 0; c < 3; ++c) {
            for (int j : {(c + 1) % 3, (c + 2) % 3}) {
              if (T[j] + L[j] < P[j]) P[j] = Larger(P[j] - T[j], L[j]);
            }
          }
        } else if constexpr (R::kCombineRule == Combine::kUnclamped) {
          for (int c = 0; c < 3; ++c) P[c] = P[c] + T[c];
        } else {
          for (int c = 0; c < 3; ++c) P[c] = ClampToChannel(P[c] + T[c]);
        }
      } else if constexpr (R::kSubtractRule != Subtract::kAlways) {
        if constexpr (R::kCombineRule == Combine::kLimits) {
          for (int c = 0; c < 3; ++c) P[c] = Smaller(P[c] + T[c], L[c]);
        } else if constexpr (R::kCombineRule == Combine::kUnclamped) {
          for (int c = 0; c < 3; ++c) P[c] = P[c] + T[3 + c];
        } else {
          for (int c = 0; c < 3; ++c) P[c] = ClampToChannel(P[c] + T[3 + c]);
        }
      }
    }
  }

  // The soft-dot terms of every sub-sample at depth factor 1, the usual
  // case, so that points at that depth need no arithmetic per sub-sample
  // beyond the pixel's own.
  static void FillUnitTerms(DotKernel& k) {
    k.unit_terms_.clear();
    if (k.weight_rule_ != DotKernel::WeightRule::kSoftDot || k.side_ > DotKernel::kTermTableSide) return;
    k.unit_terms_.assign(k.weights_.size() * 6, 0.0);
    const Constants constants = ConstantsOf(k);
    WithRules(k, [&](auto rules) {
      for (std::size_t cell = 0; cell < k.weights_.size(); ++cell) {
        const double w = k.weights_[cell] * 1.0;
        const double ws[3] = {w, w, w};
        Terms<decltype(rules)>(constants, ws, k.unit_terms_.data() + cell * 6);
      }
    });
  }

  static bool IsOne(double z) {
    std::uint64_t bits;
    std::memcpy(&bits, &z, sizeof bits);
    return bits == 0x3FF0000000000000u;
  }

  // A pixel's three channels while a run of sub-samples lands on it.
  struct PixelChannels {
    double P[3] = {0, 0, 0};
    void Load(const double* cell) {
      P[0] = cell[0];
      P[1] = cell[1];
      P[2] = cell[2];
    }
    void Store(double* cell) const {
      cell[0] = P[0];
      cell[1] = P[1];
      cell[2] = P[2];
    }
    template <typename R>
    void Combine(const Constants& k, std::int32_t first, const double T[6]) {
      CombineIntoPixel<R>(k, P, first, T);
    }
  };

#if defined(__SSE2__)
  // Rules whose pixel update is an add, clamped or not, the same for the
  // three channels: those keep channels 0 and 1 in one register and 2 in
  // another.
  template <typename R>
  static constexpr bool kPackedRule = (R::kCombineRule == Combine::kClamped ||
                                       R::kCombineRule == Combine::kUnclamped) &&
                                      (R::kSubtractRule == Subtract::kAlways ||
                                       R::kSubtractRule == Subtract::kNever);

  // Each lane does the scalar rule's operation with the same operands in the
  // same order (P + T, then the smaller of it and 255, then the larger of 0
  // and that), so the bytes are those of PixelChannels; what goes is the
  // zeroing of unused lanes that the one-channel helpers cost on every
  // sub-sample.
  struct PackedPixelChannels {
    __m128d p01 = _mm_setzero_pd();
    __m128d p2 = _mm_setzero_pd();
    void Load(const double* cell) {
      p01 = _mm_loadu_pd(cell);
      p2 = _mm_load_sd(cell + 2);
    }
    void Store(double* cell) const {
      _mm_storeu_pd(cell, p01);
      _mm_store_sd(cell + 2, p2);
    }
    template <typename R>
    void Combine(const Constants&, std::int32_t, const double T[6]) {
      // Always subtracting uses the terms T[0..2], never subtracting T[3..5].
      constexpr int kTerm = R::kSubtractRule == Subtract::kAlways ? 0 : 3;
      p01 = _mm_add_pd(p01, _mm_loadu_pd(T + kTerm));
      p2 = _mm_add_sd(p2, _mm_load_sd(T + kTerm + 2));
      if constexpr (R::kCombineRule == Combine::kClamped) {
        const __m128d top = _mm_set1_pd(255.0);
        const __m128d zero = _mm_setzero_pd();
        p01 = _mm_max_pd(zero, _mm_min_pd(p01, top));
        p2 = _mm_max_sd(zero, _mm_min_sd(p2, top));
      }
    }
  };

  template <typename R>
  using PixelFor = std::conditional_t<kPackedRule<R>, PackedPixelChannels, PixelChannels>;
#else
  template <typename R>
  using PixelFor = PixelChannels;
#endif

  // Every sub-sample of one mapped point whose row is marked in `mine`, in
  // the order of the grid: column by column, and up each column. A run of
  // sub-samples on the same pixel keeps the pixel in registers.
  template <typename R, typename Index>
  static inline void ColourPoint(const Constants& k, const DotKernel& kernel, double* pixels,
                                 std::int32_t* first_steps, const Index* cols, const Index* rows,
                                 const std::uint8_t* mine, const double* point_w) {
    const int side = k.side;
    const int width = k.width;
    double point_terms[6] = {0, 0, 0, 0, 0, 0};
    const double* table = nullptr;
    double z = 1;
    if constexpr (R::kSoftDotRule) {
      z = point_w[0];
      // w * 1 is w, to the bit: the table holds exactly these terms.
      if (!kernel.unit_terms_.empty() && IsOne(z)) table = kernel.unit_terms_.data();
    } else {
      Terms<R>(k, point_w, point_terms);
    }
    for (int i = 0; i < side; ++i) {
      const int px = cols[i];
      if (px < 0 || px >= width) continue;
      const std::size_t grid_row = static_cast<std::size_t>(i) * static_cast<std::size_t>(side);
      const std::uint8_t* inside = kernel.inside_.data() + grid_row;
      const double* soft = kernel.weights_.data() + grid_row;
      double* cell = nullptr;
      std::int32_t* first_cell = nullptr;
      PixelFor<R> held;
      std::int32_t first = 0;
      int row = -1;
      for (int j = 0; j < side; ++j) {
        if (!(inside[j] & mine[j])) continue;
        const int py = rows[j];
        if (py != row) {
          if (cell) {
            held.Store(cell);
            *first_cell = first;
          }
          row = py;
          const std::size_t pixel = static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + px;
          cell = pixels + pixel * 3;
          first_cell = first_steps + pixel;
          held.Load(cell);
          first = *first_cell;
        }
        const double* T = point_terms;
        double sub_terms[6];
        if constexpr (R::kSoftDotRule) {
          if (table) {
            T = table + (grid_row + j) * 6;
          } else {
            const double w = soft[j] * z;
            const double ws[3] = {w, w, w};
            Terms<R>(k, ws, sub_terms);
            T = sub_terms;
          }
        }
        held.template Combine<R>(k, first, T);
        if (k.step < first) first = k.step;
      }
      if (cell) {
        held.Store(cell);
        *first_cell = first;
      }
    }
  }
};

void FillUnitTerms(DotKernel& k) {
  DotColouring::FillUnitTerms(k);
}

void AddColorToPixels(Canvas& canvas, const DotKernel& k, const DotPoint& point, int rowBegin, int rowEnd,
                      PixelRangeFaults* faults) {
  // The grids must not change size between Prepare and the step's points.
  if (k.DrawsNothing() || canvas.CanvasWidth() != k.width_ || canvas.CanvasHeight() != k.height_) return;
  int cols[DotKernel::kGridRoom];
  int rows[DotKernel::kGridRoom];
  std::uint8_t mine[DotKernel::kMaxDotGrid + 1];
  double w[3];
  if (!k.MapPoint(point, cols, rows, w, faults)) return;
  const int row_begin = rowBegin < 0 ? 0 : rowBegin;
  const int row_end = rowEnd > k.height_ ? k.height_ : rowEnd;
  // A value left of or below the canvas maps to -1 and is skipped, never
  // clamped onto the edge.
  int low = INT_MAX, high = -1;
  for (int j = 0; j < k.side_; ++j) {
    mine[j] = rows[j] >= row_begin && rows[j] < row_end;
    if (mine[j]) {
      low = std::min(low, rows[j]);
      high = std::max(high, rows[j]);
    }
  }
  if (low <= high) canvas.NoteRowsWritten(low, high);
  double* pixels = canvas.PixelBuffer();
  std::int32_t* first = canvas.FirstStepBuffer();
  const DotColouring::Constants constants = DotColouring::ConstantsOf(k);
  DotColouring::WithRules(k, [&](auto rules) {
    DotColouring::ColourPoint<decltype(rules)>(constants, k, pixels, first, cols, rows, mine, w);
  });
}

int DotBatch::CapacityFor(const DotKernel& kernel) {
  constexpr std::size_t kBytes = std::size_t{4} << 20;
  const std::size_t per_point =
      3 * sizeof(double) + 2 * sizeof(int) * static_cast<std::size_t>(kernel.side_ + 1);
  return static_cast<int>(std::clamp<std::size_t>(kBytes / per_point, 64, 16384));
}

void DotBatch::Reset(const DotKernel& kernel, int capacity, int parts) {
  capacity_ = capacity < 1 ? 1 : capacity;
  side_ = kernel.side_;
  parts_ = std::clamp(parts, 1, kMaxParts);
  narrow_ = kernel.width_ <= kNarrowSide && kernel.height_ <= kNarrowSide;
  const std::size_t indices = static_cast<std::size_t>(capacity_) * 2 * static_cast<std::size_t>(side_);
  if (narrow_)
    narrow_pixels_.resize(indices);
  else
    wide_pixels_.resize(indices);
  weight_stride_ = kernel.weight_rule_ == DotKernel::WeightRule::kSoftDot ? 1 : 3;
  weights_.resize(static_cast<std::size_t>(capacity_) * static_cast<std::size_t>(weight_stride_));
  for (Block& block : blocks_) {
    faults_ += block.faults;
    block.faults = 0;
  }
  blocks_.resize(static_cast<std::size_t>((capacity_ + kBlock - 1) / kBlock));
  // Room for every point of a block in every part, so that storing, which
  // threads do, never allocates.
  for (Block& block : blocks_)
    block.points.reserve(static_cast<std::size_t>(kBlock) * static_cast<std::size_t>(parts_));
  if (owner_height_ != kernel.height_ || owner_parts_ != parts_) {
    owner_height_ = kernel.height_;
    owner_parts_ = parts_;
    owner_.resize(static_cast<std::size_t>(owner_height_ < 0 ? 0 : owner_height_));
    // About two bands per part, not so thin that many dots straddle two.
    band_rows_ = std::clamp(owner_height_ / (2 * parts_), 8, 32);
    for (std::size_t row = 0; row < owner_.size(); ++row) {
      owner_[row] = static_cast<std::uint8_t>(row / static_cast<std::size_t>(band_rows_) %
                                              static_cast<std::size_t>(parts_));
    }
  }
}

// In line: it runs for every point, and as a call it took 40 % more instructions.
[[gnu::always_inline]] inline void DotBatch::KeepPoint(std::size_t k, bool colours, const int* cols,
                                                       const int* rows, const double* w, unsigned width,
                                                       unsigned height) {
  const int side = side_;
  double* weights = weights_.data() + k * static_cast<std::size_t>(weight_stride_);
  for (int c = 0; c < weight_stride_; ++c) weights[c] = colours ? w[c] : 0.0;
  if (narrow_) {
    std::uint16_t* out = narrow_pixels_.data() + k * 2 * static_cast<std::size_t>(side);
    for (int j = 0; j < side; ++j) {
      out[j] = colours && static_cast<unsigned>(cols[j]) < width ? static_cast<std::uint16_t>(cols[j]) : kOff;
      out[side + j] =
          colours && static_cast<unsigned>(rows[j]) < height ? static_cast<std::uint16_t>(rows[j]) : kOff;
    }
  } else {
    int* out = wide_pixels_.data() + k * 2 * static_cast<std::size_t>(side);
    for (int j = 0; j < side; ++j) {
      out[j] = colours ? cols[j] : -1;
      out[side + j] = colours ? rows[j] : -1;
    }
  }
}

void DotBatch::Store(const DotKernel& kernel, int first, const DotPoint* points, int count) {
  Block& block = blocks_[static_cast<std::size_t>(first / kBlock)];
  // In one part the points stay in the order made, every one of them kept;
  // else they are grouped by the parts they reach.
  const bool whole = parts_ == 1;
  // Which parts each point reaches; a point that colours nothing reaches none.
  std::uint64_t touched[kBlock];
  int per_part[kMaxParts + 1] = {};
  const int side = side_;
  const unsigned width = static_cast<unsigned>(kernel.width_);
  const unsigned height = static_cast<unsigned>(owner_height_);
  int cols[DotKernel::kGridRoom];
  int rows[DotKernel::kGridRoom];
  PixelRangeFaults faults;
  for (int i = 0; i < count; ++i) {
    const std::size_t k = static_cast<std::size_t>(first + i);
    double w[3];
    const bool colours = side > 0 && kernel.MapPoint(points[i], cols, rows, w, &faults);
    if (whole) {
      KeepPoint(k, colours, cols, rows, w, width, height);
      continue;
    }
    std::uint64_t parts = 0;
    if (colours) {
      for (int j = 0; j < side; ++j) {
        const unsigned row = static_cast<unsigned>(rows[j]);
        if (row < height) parts |= std::uint64_t{1} << owner_[row];
      }
      KeepPoint(k, true, cols, rows, w, width, height);
    }
    touched[i] = parts;
    for (std::uint64_t rest = parts; rest != 0; rest &= rest - 1) ++per_part[std::countr_zero(rest) + 1];
  }
  block.faults += faults.Count;
  block.whole = whole;
  block.first = first;
  if (whole) {
    block.start[0] = 0;
    block.start[1] = count;
    block.points.clear();
    return;
  }
  // Group the points by part, keeping their order.
  for (int p = 0; p < parts_; ++p) per_part[p + 1] += per_part[p];
  std::copy(per_part, per_part + parts_ + 1, block.start);
  block.points.resize(static_cast<std::size_t>(per_part[parts_]));
  for (int i = 0; i < count; ++i) {
    for (std::uint64_t rest = touched[i]; rest != 0; rest &= rest - 1) {
      block.points[static_cast<std::size_t>(per_part[std::countr_zero(rest)]++)] = first + i;
    }
  }
}

long long DotBatch::TakeFaults() {
  long long total = faults_;
  faults_ = 0;
  for (Block& block : blocks_) {
    total += block.faults;
    block.faults = 0;
  }
  return total;
}

void DotBatch::Apply(Canvas& canvas, const DotKernel& k, int count, int part) const {
  ApplyBlocks(canvas, k, count, part, 0, (count + kBlock - 1) / kBlock);
}

void DotBatch::ApplyBlocks(Canvas& canvas, const DotKernel& k, int count, int part, int firstBlock,
                           int endBlock) const {
  if (k.DrawsNothing() || side_ != k.side_ || canvas.CanvasWidth() != k.width_ ||
      canvas.CanvasHeight() != k.height_ || owner_height_ != k.height_ || count > capacity_) {
    return;
  }
  double* pixels = canvas.PixelBuffer();
  std::int32_t* first = canvas.FirstStepBuffer();
  const std::uint8_t* owner = owner_.data();
  const unsigned height = static_cast<unsigned>(k.height_);
  const int side = side_;
  const std::size_t stride = static_cast<std::size_t>(weight_stride_);
  const int blocks = std::min(endBlock, (count + kBlock - 1) / kBlock);
  const DotColouring::Constants constants = DotColouring::ConstantsOf(k);
  // The rows this part writes, for the conversion of changed rows.
  int low = INT_MAX, high = -1;
  const unsigned width = static_cast<unsigned>(k.width_);
  // Asks for the pixels at the corners of a point's grid a few points
  // before they are coloured: the points are known ahead here, and waiting
  // for pixels that are not in the cache is most of colouring's time.
  const auto prefetch = [&](const auto* cols, const auto* rows) {
    const unsigned left = static_cast<unsigned>(cols[0]), right = static_cast<unsigned>(cols[side - 1]);
    const unsigned bottom = static_cast<unsigned>(rows[0]), top = static_cast<unsigned>(rows[side - 1]);
    for (const unsigned row : {bottom, top}) {
      if (row >= height) continue;
      for (const unsigned col : {left, right}) {
        if (col >= width) continue;
        const std::size_t pixel = static_cast<std::size_t>(row) * width + col;
        __builtin_prefetch(pixels + pixel * 3, 1);
        __builtin_prefetch(pixels + pixel * 3 + 2, 1);
        __builtin_prefetch(first + pixel, 1);
        if (right == left) break;
      }
      if (top == bottom) break;
    }
  };
  constexpr int kLookAhead = 8;
  const auto apply = [&](auto rules, const auto* indices) {
    std::uint8_t mine[DotKernel::kMaxDotGrid + 1];
    const std::size_t stride_pixels = 2 * static_cast<std::size_t>(side);
    for (int b = std::max(firstBlock, 0); b < blocks; ++b) {
      const Block& block = blocks_[static_cast<std::size_t>(b)];
      const bool whole = block.whole;
      // The e-th point of the part in this block.
      const auto point_at = [&](int e) {
        return whole ? block.first + e : block.points[static_cast<std::size_t>(e)];
      };
      const int end = block.start[part + 1];
      for (int e = block.start[part]; e < end; ++e) {
        const int p = point_at(e);
        if (p >= count) break;
        if (e + kLookAhead < end) {
          const auto* ahead = indices + static_cast<std::size_t>(point_at(e + kLookAhead)) * stride_pixels;
          prefetch(ahead, ahead + side);
        }
        const auto* cols = indices + static_cast<std::size_t>(p) * stride_pixels;
        const auto* rows = cols + side;
        for (int j = 0; j < side; ++j) {
          const unsigned row = static_cast<unsigned>(rows[j]);
          // A block of one part owns every row.
          mine[j] = row < height && (whole || owner[row] == part);
          if (mine[j]) {
            low = std::min(low, static_cast<int>(row));
            high = std::max(high, static_cast<int>(row));
          }
        }
        DotColouring::ColourPoint<decltype(rules)>(constants, k, pixels, first, cols, rows, mine,
                                                   weights_.data() + static_cast<std::size_t>(p) * stride);
      }
    }
  };
  DotColouring::WithRules(k, [&](auto rules) {
    if (narrow_)
      apply(rules, narrow_pixels_.data());
    else
      apply(rules, wide_pixels_.data());
  });
  if (low <= high) canvas.NoteRowsWritten(low, high);
}

}  // namespace quorl
