#include "canvas/dot_kernel.h"

#include <cmath>

#include "canvas/pixel_math.h"
#include "curves/curve_plane.h"
#include "engine/step_arithmetic.h"

namespace quorl {

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;

// a + (b - a) * u / v
double Lerp(double a, double b, double u, double v) { return a + (b - a) * u / v; }

// ((i mod size) + size) mod size for a whole-numbered double, with the
// remainder taking the dividend's sign: always a column or row inside.
int Wrap(double i, int size) {
  const double s = size;
  return static_cast<int>(std::fmod(std::fmod(i, s) + s, s));
}

}  // namespace

void DotKernel::Prepare(const ParameterSet& params, const StepState& state, const SourceStore& source,
                        const Canvas& canvas, const DotStep& dot) {
  offsets_.clear();
  too_large_ = false;
  step_ = dot.step;
  width_ = canvas.CanvasWidth();
  height_ = canvas.CanvasHeight();
  freeze_step_ = dot.step - dot.Steps * params.SourceImageOpacityThreshold;

  // Geometry of the dot.
  scale_ = state.StepScale;
  const double w = width_;
  const double h = height_;
  const double pw = 2 * scale_ / w;
  const double ph = 2 * scale_ / h;
  const double R = dot.dotSize * (pw + ph) / 2;
  const double n = RoundHalfEven(dot.dotSize);
  use_dimmer_ = params.UseDimmer;
  dimmer_ = state.DimmerFactor;
  if (width_ > 0 && height_ > 0 && n >= 0) {
    if (n > kMaxDotGrid) {
      too_large_ = true;
    } else {
      const int count = static_cast<int>(n);
      offsets_.reserve(static_cast<std::size_t>(count + 1) * static_cast<std::size_t>(count + 1));
      for (int i = 0; i <= count; ++i) {
        for (int j = 0; j <= count; ++j) {
          const double dx = (i - n / 2) * pw * 0.35;
          const double dy = (j - n / 2) * pw * 0.35;
          const double d = getDistanceOfPoint(dx, dy);
          if (!(d < R)) continue;
          double weight = (1 - d / R) * (1 - d / R);
          if (use_dimmer_) weight = weight * dimmer_;
          offsets_.push_back({dx, dy, weight});
        }
      }
    }
  }

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
    source_theta_multiplier_ = state.SourceThetaMultiplier;
    const double v = (static_cast<double>(dot.step) / dot.Steps + offset_overall) * source.SourceHeight *
                     state.SourceStepMultiplier;
    source_row_ok_ = std::isfinite(v);
    if (source_row_ok_) {
      const double iv = std::floor(v);
      source_fv_ = v - iv;
      source_row_ = Wrap(iv, source.SourceHeight);
    } else {
      offsets_.clear();
    }
  } else if (params.NewColor) {
    weight_rule_ = params.OneOrTwo ? WeightRule::kNewColorFromPosition : WeightRule::kNewColorCycle;
    phase_ = dot.AnimationPhase;
    step_angle_ = kTwoPi * params.StepColorMultiplier * dot.StepColorSlotMultiplier * dot.step / dot.Steps +
                  2 * phase_;
    theta_factor_ = kTwoPi * params.ThetaColorMultiplier * dot.ThetaColorSlotMultiplier;
  } else {
    weight_rule_ = WeightRule::kSoftDot;
  }

  // How the weights combine with the pixels.
  channel_rule_ = source_on && params.UseOpaquePixels ? ChannelRule::kOpaqueSource : ChannelRule::kAddOrSubtract;
  white_ = params.White;
  best_guess_ = params.BestGuess;
  limits_ = params.UseColorsAsLimits;
  unclamped_ = params.InterpolateColors;
  level_ = white_ ? 255 : 0;
  for (int c = 0; c < 3; ++c) {
    amount_[c] = state.StepAmount[c];
    colour_[c] = state.StepColor[c];
  }
}

// The weights of a point for the rules that do not depend on the
// sub-sample, dimmer applied. False when the point cannot be coloured.
bool DotKernel::PointWeights(const DotPoint& point, double w[3]) const {
  switch (weight_rule_) {
    case WeightRule::kSourceImage: {
      const double u =
          (offset_per_step_ - static_cast<double>(point.index) / point_count_) * source_width_ * source_theta_multiplier_;
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

namespace {

// Steps 5 to 7 of a sub-sample: the pixel's flags, its three channels and
// its first step.
inline void CombineIntoPixel(double* P, std::int32_t& first_step, const double w[3], int step, double freeze_step,
                             bool opaque, bool white, bool best_guess, bool limits, bool unclamped, double g,
                             const double A[3], const double L[3]) {
  const bool background = P[0] == g && P[1] == g && P[2] == g;
  if (opaque) {
    // A pixel stays open for a while after a dot first reached it; a pixel
    // of a background picture (not the flat background) is never painted.
    const bool frozen =
        !background && (first_step <= freeze_step || first_step == Canvas::NeverPainted);
    if (!frozen) {
      for (int c = 0; c < 3; ++c) {
        const double t = white ? 255 - w[c] : w[c];
        if (P[c] == g && t != g)
          P[c] = (g + t) / 2;
        else
          P[c] = t;
      }
    }
  } else {
    const bool subtract = white || (best_guess && P[0] > A[0] && P[1] > A[1] && P[2] > A[2]);
    if (subtract) {
      if (limits) {
        // Each turn lowers the two other channels, floored at the step colour.
        for (int c = 0; c < 3; ++c) {
          for (int j : {(c + 1) % 3, (c + 2) % 3}) {
            if (A[j] * w[j] + L[j] < P[j]) P[j] = Larger(P[j] - A[j] * w[j], L[j]);
          }
        }
      } else if (unclamped) {
        for (int c = 0; c < 3; ++c) P[c] = P[c] + A[c] * w[c] * (L[c] - 255) / 255;
      } else {
        for (int c = 0; c < 3; ++c) P[c] = ClampToChannel(P[c] + A[c] * w[c] * (L[c] - 255) / 255);
      }
    } else {
      if (limits) {
        for (int c = 0; c < 3; ++c) P[c] = Smaller(P[c] + A[c] * w[c], L[c]);
      } else if (unclamped) {
        for (int c = 0; c < 3; ++c) P[c] = P[c] + A[c] * w[c] * L[c] / 255;
      } else {
        for (int c = 0; c < 3; ++c) P[c] = ClampToChannel(P[c] + A[c] * w[c] * L[c] / 255);
      }
    }
  }
  if (step < first_step) first_step = step;
}

}  // namespace

void addColorToPixels(Canvas& canvas, const DotKernel& k, const DotPoint& point, int rowBegin, int rowEnd) {
  // The grids must not change size between Prepare and the step's points.
  if (k.offsets_.empty() || canvas.CanvasWidth() != k.width_ || canvas.CanvasHeight() != k.height_) return;
  double point_w[3] = {1, 1, 1};
  if (!k.PointWeights(point, point_w)) return;
  const bool soft_dot = k.weight_rule_ == DotKernel::WeightRule::kSoftDot;
  const bool opaque = k.channel_rule_ == DotKernel::ChannelRule::kOpaqueSource;
  // Locals, so the compiler may keep them out of the loop even though the
  // pixel stores could alias the kernel's doubles.
  const double scale = k.scale_;
  const int width = k.width_;
  const int height = k.height_;
  double* pixels = canvas.PixelBuffer();
  std::int32_t* first = canvas.FirstStepBuffer();
  const int row_begin = rowBegin < 0 ? 0 : rowBegin;
  const int row_end = rowEnd > height ? height : rowEnd;

  for (const DotKernel::Offset& o : k.offsets_) {
    // A value left of or below the canvas maps to -1 and is skipped, never
    // clamped onto the edge.
    const int py = getPixelFromReal(Axis::Y, point.y + o.dy, scale, width, height);
    if (py < row_begin || py >= row_end) continue;
    const int px = getPixelFromReal(Axis::X, point.x + o.dx, scale, width, height);
    if (px < 0 || px >= width) continue;

    double w[3];
    if (soft_dot) {
      w[0] = w[1] = w[2] = o.weight * point.ZFactor;
    } else {
      for (int c = 0; c < 3; ++c) w[c] = point_w[c] * point.ZFactor;
    }
    const std::size_t pixel = static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + px;
    CombineIntoPixel(pixels + pixel * 3, first[pixel], w, k.step_, k.freeze_step_, opaque, k.white_, k.best_guess_,
                     k.limits_, k.unclamped_, k.level_, k.amount_, k.colour_);
  }
}

}  // namespace quorl
