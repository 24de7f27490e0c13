// Colour accumulation: every point of a shape becomes a soft dot, an
// (n + 1) x (n + 1) grid of sub-samples 0.35 pixel apart, and each
// sub-sample that lands on the canvas combines the step's colour into its
// pixel.
//
// Everything that is the same for all points of a step (the sub-sample
// offsets and plain weights, the colour, the amounts, the mapping to pixels)
// is worked out once by DotKernel::Prepare; AddColorToPixels then does the
// per-point work only. Nothing is allocated per point.
//
// A point's effect on a pixel depends only on that pixel's own earlier
// values, so the points of a step may be applied band by band of rows
// (each band applying all points in their original order) with exactly the
// result of applying them in one go; DotBatch does that on several threads.
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include "base/plane_conversion.h"
#include "canvas/canvas.h"
#include "canvas/image_stores.h"
#include "settings/parameter_set.h"

namespace quorl {

// The per-step inputs of colour accumulation besides the parameter set: what
// the drawing run has worked out for this step.
struct DotStep {
  int step = 0;
  int Steps = 1;
  // The step's limit value, running from StartLimit to EndLimit.
  double dotSize = 2;
  // Points of the shape in this step (N); point indices may reach N + 1.
  int pointCount = 1;
  // Multipliers of the curve slots "Colors - Theta color" and
  // "Colors - Step color".
  double ThetaColorSlotMultiplier = 1;
  double StepColorSlotMultiplier = 1;
  // Radians; 0 outside an animation.
  double AnimationPhase = 0;
  // The step's scale of the plane (half its height) and its dimmer.
  double StepScale = 2.0;
  double DimmerFactor = 1;
  // Source image colouring: theta and row multipliers of this step.
  double SourceThetaMultiplier = 1;
  double SourceStepMultiplier = 1;
  // Per channel: the step's colour amount and its colour.
  double StepAmount[3] = {1, 1, 1};
  double StepColor[3] = {0, 0, 0};
};

// One point of a shape, in real units.
struct DotPoint {
  double x = 0;
  double y = 0;
  int index = 1;  // counted from 1 along the shape
  double ZFactor = 1;
};

class DotBatch;

// What places a dot's sub-sample grid on the canvas, for the vector path:
// a sub-sample column is ((x + offset) + shift_x) * height / two_scale,
// a row ((y + offset) + shift_y) * height / two_scale, truncated, -1 when
// negative or beyond an int (the arithmetic of GetPixelFromReal).
struct GridMapping {
  const double* offsets = nullptr;  // side values, room for a multiple of 4
  int side = 0;
  double shift_x = 0, shift_y = 0, height = 0, two_scale = 0;
};

// Columns and rows of the grid of a point at (x, y); cols and rows need
// room for side rounded up to a multiple of 4.
void MapGridScalar(const GridMapping& grid, double x, double y, int* cols, int* rows);
// The same with the best vectors of this CPU; the same ints to the bit.
void MapGridVector(const GridMapping& grid, double x, double y, int* cols, int* rows);
// True when this CPU maps grids with vectors (else MapGridVector is scalar).
bool VectorKernelAvailable();

class DotKernel {
 public:
  // Larger dots than this are not drawn: their grid would not fit in memory
  // and would take hours per step.
  static constexpr int kMaxDotGrid = 1000;
  // Room for a grid's columns or rows, rounded up for the vector path.
  static constexpr int kGridRoom = kMaxDotGrid + 4;

  void Prepare(const ParameterSet& params, const SourceStore& source, const Canvas& canvas,
               const DotStep& dot);

  // True when no point of the step can reach a pixel (a dot size that rounds
  // below 1 sub-sample inside the cut-off, a negative size, an empty canvas).
  bool DrawsNothing() const { return sub_samples_ == 0; }
  // The dot size was larger than kMaxDotGrid, so the step draws nothing.
  bool TooLarge() const { return too_large_; }
  // The sub-samples of a dot that lie inside its cut-off radius.
  int SubSampleCount() const { return sub_samples_; }
  // Places the sub-sample grids without vectors even where the CPU has
  // them (the two give the same pixels; tests compare them). Kept across
  // Prepare.
  void UseScalarKernel(bool scalar) { scalar_only_ = scalar; }

 private:
  friend void AddColorToPixels(Canvas& canvas, const DotKernel& kernel, const DotPoint& point, int rowBegin,
                               int rowEnd, PixelRangeFaults* faults);
  friend class DotBatch;
  friend struct DotColouring;
  friend void FillUnitTerms(DotKernel& k);

  enum class WeightRule { kSourceImage, kNewColorFromPosition, kNewColorCycle, kSoftDot };
  enum class ChannelRule { kAddOrSubtract, kOpaqueSource };

  bool PointWeights(const DotPoint& point, double w[3]) const;
  // A point's pixel columns and rows, one per sub-sample column and row of
  // its grid, and its weights times its depth factor (for the soft dot,
  // whose weights vary over the dot, the depth factor alone in w[0]). False
  // when the point colours nothing. Sub-sample positions whose pixel index
  // does not fit an int are counted in *faults when given.
  bool MapPoint(const DotPoint& point, int* cols, int* rows, double w[3],
                PixelRangeFaults* faults = nullptr) const;

  bool scalar_only_ = false;
  GridMapping grid_;
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

// Spreads one point over the pixels around it. Only sub-samples that land in
// rows rowBegin <= row < rowEnd are applied. Positions too far off the
// canvas for a pixel index are counted in *faults when given.
void AddColorToPixels(Canvas& canvas, const DotKernel& kernel, const DotPoint& point, int rowBegin = 0,
                      int rowEnd = INT_MAX, PixelRangeFaults* faults = nullptr);

// The points of a step made ready for colouring ahead of time, then applied
// part by part of the canvas, the parts shared out among threads. The rows
// are dealt out to the parts in bands of a few rows, in turn, so that every
// part gets a share of a shape wherever it lies. A pixel belongs to one
// part, which applies the batch's points to it in their order: the picture
// is the same however the parts are shared out.
class DotBatch {
 public:
  static constexpr int kMaxParts = 64;
  // Points are stored in blocks of up to this many.
  static constexpr int kBlock = 256;

  // Room for up to `capacity` points of the kernel's dot (no allocation when
  // the room is there already), in `parts` parts (1 to kMaxParts).
  void Reset(const DotKernel& kernel, int capacity, int parts);
  // Makes points first ... first + count - 1 of the batch ready: a block,
  // with first a multiple of kBlock and count at most kBlock. Threads may
  // store different blocks at the same time. Every point that Apply is
  // asked to colour must have been stored in this batch.
  void Store(const DotKernel& kernel, int first, const DotPoint* points, int count);
  // Positions of the points stored since the last call whose pixel index
  // did not fit an int; counted by each block as it is stored, so call it
  // when no thread is storing.
  long long TakeFaults();
  // Applies points 0 ... count - 1, in order, to the rows of `part` alone.
  // Threads may apply different parts at the same time.
  void Apply(Canvas& canvas, const DotKernel& kernel, int count, int part) const;
  // The same for the points of blocks firstBlock ... endBlock - 1 alone:
  // applying consecutive runs of blocks in turn is applying them all.
  void ApplyBlocks(Canvas& canvas, const DotKernel& kernel, int count, int part, int firstBlock,
                   int endBlock) const;
  // How many points of block b reach part `part`.
  int PointsIn(int block, int part) const {
    const Block& b = blocks_[static_cast<std::size_t>(block)];
    return b.start[part + 1] - b.start[part];
  }

  // The points one batch of this dot holds: bounded in bytes, so a step of
  // millions of points goes in several batches.
  static int CapacityFor(const DotKernel& kernel);

 private:
  // The points of one block that reach each part, in order: those of part
  // p are points[start[p]] ... points[start[p + 1] - 1]. Blocks are stored
  // by different threads at once: each has cache lines of its own.
  struct alignas(64) Block {
    std::vector<int> points;
    int start[kMaxParts + 1] = {};
    long long faults = 0;
    // In one part, the block's points are all kept, in order, from `first`
    // (those that colour nothing have every column off the canvas), and
    // `points` is left empty.
    bool whole = false;
    int first = 0;
  };
  // Writes point k's weights and its columns and rows, as few bytes as the
  // canvas allows (threads apply them on other cores, and the fewer bytes,
  // the less goes from cache to cache); a point that colours nothing gets
  // every column and row off the canvas.
  void KeepPoint(std::size_t k, bool colours, const int* cols, const int* rows, const double* w,
                 unsigned width, unsigned height);

  // Canvases up to this many pixels a side (every canvas the program makes)
  // keep their columns and rows in 16 bits, kOff marking those outside.
  static constexpr int kNarrowSide = 65534;
  static constexpr std::uint16_t kOff = 65535;

  int capacity_ = 0;
  int side_ = 0;
  int parts_ = 1;
  int owner_height_ = -1;
  int owner_parts_ = 0;
  int band_rows_ = 1;
  // Per point: side_ columns then side_ rows.
  bool narrow_ = true;
  std::vector<std::uint16_t> narrow_pixels_;
  std::vector<int> wide_pixels_;
  // Per point: its three weights (rules that weigh the whole point), or its
  // depth factor alone (soft dot).
  int weight_stride_ = 3;
  std::vector<double> weights_;
  std::vector<Block> blocks_;
  // Faults of blocks given up by a Reset, not yet taken.
  long long faults_ = 0;
  // Which part owns each canvas row.
  std::vector<std::uint8_t> owner_;
};

}  // namespace quorl
