// The colouring kernel as it stood before the vector kernel: one point at a
// time, one sub-sample and one channel at a time, with per-step weights and
// colour terms worked out ahead. Kept unchanged as the yardstick the
// benchmarks measure the program's own kernel against in the same minute,
// on the same scene. Compiled into the benchmarks only.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "canvas/canvas.h"
#include "canvas/dot_kernel.h"
#include "canvas/image_stores.h"
#include "settings/parameter_set.h"

namespace quorl::reference {

class ReferenceDotKernel {
 public:
  // Larger dots than this are not drawn: their grid would not fit in memory
  // and would take hours per step.
  static constexpr int kMaxDotGrid = 1000;

  void Prepare(const ParameterSet& params, const SourceStore& source, const Canvas& canvas,
               const DotStep& dot);

  // True when no point of the step can reach a pixel (a dot size that rounds
  // below 1 sub-sample inside the cut-off, a negative size, an empty canvas).
  bool DrawsNothing() const { return sub_samples_ == 0; }
  // The dot size was larger than kMaxDotGrid, so the step draws nothing.
  bool TooLarge() const { return too_large_; }
  // The sub-samples of a dot that lie inside its cut-off radius.
  int SubSampleCount() const { return sub_samples_; }

 private:
  friend void AddColorToPixels(Canvas& canvas, const ReferenceDotKernel& kernel, const DotPoint& point,
                               int rowBegin, int rowEnd);
  friend struct DotColouring;
  friend void FillUnitTerms(ReferenceDotKernel& k);

  enum class WeightRule { kSourceImage, kNewColorFromPosition, kNewColorCycle, kSoftDot };
  enum class ChannelRule { kAddOrSubtract, kOpaqueSource };

  bool PointWeights(const DotPoint& point, double w[3]) const;
  // A point's pixel columns and rows, one per sub-sample column and row of
  // its grid, and its weights times its depth factor (for the soft dot,
  // whose weights vary over the dot, the depth factor alone in w[0]). False
  // when the point colours nothing.
  bool MapPoint(const DotPoint& point, int* cols, int* rows, double w[3]) const;

  // Step and canvas.
  int step_ = 0;
  double freeze_step_ = 0;
  int width_ = 0;
  int height_ = 0;
  double scale_ = 0;  // the step's scale, for the real-to-pixel mapping
  bool too_large_ = false;
  // The dot's grid: side_ = n + 1 offsets, the same along both axes (both
  // use the pixel width). A sub-sample (i, j) lies at (offset i, offset j);
  // inside_ marks those within the cut-off and weights_ holds their
  // soft-dot weights (dimmer applied), row i of both for offset column i.
  int side_ = 0;
  int sub_samples_ = 0;
  std::vector<double> offset_;
  std::vector<double> weights_;
  std::vector<std::uint8_t> inside_;
  // Soft dots up to this side keep the colour terms of every sub-sample at
  // depth factor 1 (6 per sub-sample), worked out once per step.
  static constexpr int kTermTableSide = 64;
  std::vector<double> unit_terms_;

  // Weights.
  WeightRule weight_rule_ = WeightRule::kSoftDot;
  bool use_dimmer_ = false;
  double dimmer_ = 1;
  int point_count_ = 1;
  // Source image, with the row and its fraction fixed for the step.
  const std::uint8_t* const* source_rows_ = nullptr;
  int source_width_ = 0;
  double source_divisor_ = 256;
  double offset_per_step_ = 0;
  double source_theta_multiplier_ = 1;
  int source_row_ = 0;
  double source_fv_ = 0;
  bool source_row_ok_ = true;
  // New colour cycle: b = theta_factor_ * k / N + phase_.
  double phase_ = 0;
  double step_angle_ = 0;
  double theta_factor_ = 0;

  // Channels.
  ChannelRule channel_rule_ = ChannelRule::kAddOrSubtract;
  bool white_ = true;
  bool best_guess_ = false;
  bool limits_ = false;
  bool unclamped_ = false;
  double level_ = 255;  // background level g
  double amount_[3] = {1, 1, 1};
  double colour_[3] = {0, 0, 0};
};

// Spreads one point over the pixels around it.
void AddColorToPixels(Canvas& canvas, const ReferenceDotKernel& kernel, const DotPoint& point,
                      int rowBegin = 0, int rowEnd = INT_MAX);

}  // namespace quorl::reference
