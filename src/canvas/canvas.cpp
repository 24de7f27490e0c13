#include "canvas/canvas.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>

#include "base/pixel_math.h"
#include "base/worker_pool.h"

namespace quorl {
namespace {

// Bands a shared pass is cut into at most: enough that a thread the system
// runs late still finds work, few enough that each is worth taking.
constexpr int kMostBands = 64;
constexpr int kBandsPerThread = 8;

}  // namespace

int Canvas::BandsFor(int rows) const {
  const std::shared_ptr<WorkerPool> pool = row_pool_.lock();
  if (!pool || pool->Threads() < 2 || rows < 2) return 1;
  return std::min({rows, kMostBands, pool->Threads() * kBandsPerThread});
}

template <typename Work>
void Canvas::ShareRows(int begin, int end, Work work) {
  if (begin >= end) return;
  const int rows = end - begin;
  const int bands = BandsFor(rows);
  const std::shared_ptr<WorkerPool> pool = row_pool_.lock();
  if (bands == 1 || !pool) {
    work(0, begin, end);
    return;
  }
  const auto edge = [&](int band) {
    return begin + static_cast<int>(static_cast<long long>(rows) * band / bands);
  };
  std::atomic<int> next{0};
  auto job = [&](int) {
    for (int band = next.fetch_add(1, std::memory_order_relaxed); band < bands;
         band = next.fetch_add(1, std::memory_order_relaxed))
      work(band, edge(band), edge(band + 1));
  };
  pool->Share(job);
}

bool Canvas::SetImageDimensions(const ParameterSet& params, std::string* error) {
  const int width = std::max(params.ImageWidth, 0);
  const int height = std::max(params.ImageHeight, 0);
  if (width != width_ || height != height_) {
    try {
      const std::size_t cells = GridCellCount(width, height, kChannels);
      const std::size_t pixels = GridCellCount(width, height, 1);
      std::vector<double> pixels_new(cells, 0.0), background_new(cells, 0.0), normal_new(cells, 0.0);
      std::vector<std::int32_t> first_new(pixels, 0);
      Picture24 bitmap_new(width, height);
      const int keep_rows = std::min(height_, height);
      auto keep = [&](const auto& old, auto& fresh, int per_cell) {
        const std::size_t count = static_cast<std::size_t>(std::min(width_, width)) * per_cell;
        for (int y = 0; y < keep_rows && count > 0; ++y) {
          auto from =
              old.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * width_ * per_cell);
          std::copy(
              from, from + static_cast<std::ptrdiff_t>(count),
              fresh.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * width * per_cell));
        }
      };
      keep(pixels_, pixels_new, kChannels);
      keep(background_, background_new, kChannels);
      keep(normal_, normal_new, kChannels);
      keep(first_step_, first_new, 1);
      pixels_.swap(pixels_new);
      background_.swap(background_new);
      normal_.swap(normal_new);
      first_step_.swap(first_new);
      bitmap_ = std::move(bitmap_new);
      canvas_rows_.clear();
      width_ = width;
      height_ = height;
      bitmap_current_ = false;
      changed_all_ = true;
    } catch (const std::exception& e) {
      if (error) *error = e.what();
      return false;
    }
  }
  MakeBitmap();
  return true;
}

CanvasGrids Canvas::CopyGrids() const {
  CanvasGrids grids;
  CopyGridsInto(grids);
  return grids;
}

void Canvas::CopyGridsInto(CanvasGrids& into) const {
  into.width = width_;
  into.height = height_;
  into.pixels = pixels_;
  into.background = background_;
  into.normal = normal_;
  into.firstStep = first_step_;
  into.keepPicture = KeepPicture;
}

bool Canvas::RestoreGrids(CanvasGrids&& grids) {
  if (!grids.Consistent()) return false;
  try {
    Picture24 bitmap(grids.width, grids.height);
    bitmap_ = std::move(bitmap);
  } catch (const std::exception&) {
    return false;
  }
  pixels_ = std::move(grids.pixels);
  background_ = std::move(grids.background);
  normal_ = std::move(grids.normal);
  first_step_ = std::move(grids.firstStep);
  width_ = grids.width;
  height_ = grids.height;
  KeepPicture = grids.keepPicture;
  canvas_rows_.clear();
  bitmap_current_ = false;
  changed_all_ = true;
  return true;
}

void Canvas::MakeBitmap() {
  // Every render writes every pixel, so a bitmap of the right size is only
  // replaced when the size changed.
  if (bitmap_.Width() != width_ || bitmap_.Height() != height_) {
    bitmap_ = Picture24(width_, height_);
    bitmap_current_ = false;
    changed_all_ = true;
  }
}

void Canvas::MakePictureBlack(const ParameterSet& params, const BackgroundStore& background, Host* host) {
  if (!KeepPicture) ResetToBackground(params, background);
  DrawGridsOnPicture(params, host);
}

void Canvas::ResetToBackground(const ParameterSet& params, const BackgroundStore& background) {
  const double bg[3] = {static_cast<double>(params.BgMaxRed), static_cast<double>(params.BgMaxGreen),
                        static_cast<double>(params.BgMaxBlue)};
  NoteAllRowsWritten();

  // Which picture the background comes from, and for every canvas column and
  // row the picture's column and row (-1 where the picture does not reach).
  enum class Source { kColour, kSaved, kImage } source = Source::kColour;
  const std::uint8_t* const* rows = nullptr;
  std::vector<int> column_of(static_cast<std::size_t>(width_), -1);
  std::vector<int> row_of(static_cast<std::size_t>(height_), -1);

  if (MultiplierMode) {
    // A canvas that grew since the copy was taken shows the background
    // colour where the copy has no pixels.
    if (saved_canvas_.Height() > 0) {
      source = Source::kSaved;
      rows = saved_canvas_rows_.data();
      for (int x = 0; x < width_ && x < saved_canvas_.Width(); ++x) column_of[x] = x;
      for (int y = 0; y < height_ && y < saved_canvas_.Height(); ++y) row_of[y] = y;
    }
  } else if (background.Loaded() && params.UseBackgroundImage) {
    source = Source::kImage;
    rows = background.BackgroundRows.data();
    const int bw = background.BackgroundWidth;
    const int bh = background.BackgroundHeight;
    const double iw = params.ImageWidth;
    const double ih = params.ImageHeight;
    // A later placement that is set wins; with none set the image is centred.
    auto place = [&](int i, int size, double image_size) -> double {
      double at = std::floor(i - (image_size - size) / 2);
      if (params.BackgroundImagePositionStretched)
        at = std::floor(static_cast<double>(i) * size / image_size);
      if (params.BackgroundImagePositionTiled) at = i % size;
      return at;
    };
    for (int x = 0; x < width_; ++x) {
      const double bx = place(x, bw, iw);
      if (bx >= 0 && bx <= bw - 1) column_of[x] = static_cast<int>(bx);
    }
    for (int y = 0; y < height_; ++y) {
      const double by = place(y, bh, ih);
      if (by >= 0 && by <= bh - 1) row_of[y] = static_cast<int>(by);
    }
  }

  ShareRows(0, height_, [&](int, int first, int last) {
    std::fill(first_step_.begin() + static_cast<std::ptrdiff_t>(PixelIndex(0, first)),
              first_step_.begin() + static_cast<std::ptrdiff_t>(PixelIndex(0, last)), kNeverPainted);
    for (int y = first; y < last; ++y) {
      const std::uint8_t* row = (source != Source::kColour && row_of[y] >= 0) ? rows[row_of[y]] : nullptr;
      for (int x = 0; x < width_; ++x) {
        double colour[3] = {bg[0], bg[1], bg[2]};
        if (row && column_of[x] >= 0) {
          const std::uint8_t* p = row + 3 * static_cast<std::size_t>(column_of[x]);
          colour[0] = p[2];
          colour[1] = p[1];
          colour[2] = p[0];
        }
        const std::size_t cell = CellIndex(x, y);
        for (int c = 0; c < kChannels; ++c) {
          pixels_[cell + c] = colour[c];
          background_[cell + c] = colour[c];
        }
      }
    }
  });
}

// The normalising extremes are folds: hi = Larger(hi, v) pixel after pixel
// from the bottom row up (lo with Smaller, bgHi with Larger of B). Bands
// fold on their own and are then combined in row order, which gives the
// very bits of one fold over every row, NaNs and signed zeros included:
//  - Larger(h, v) is "h > v ? h : v", so a NaN v replaces whatever came
//    before it: a band holding a NaN ends on the same value whatever it
//    starts from.
//  - In a band without NaNs, started from h, h survives only when it is
//    above every value; otherwise, from the first value not below h, the
//    fold goes on exactly as the band's own fold from its first value, r.
//    That is Larger(h, r), and the band's fold started from -infinity is r.
// Smaller mirrors this with +infinity.
struct Canvas::Extremes {
  double hi[3], lo[3], bgHi[3];
  // A NaN among the band's values (v for hi and lo, B for bgHi).
  bool nanValue[3] = {false, false, false};
  bool nanBackground[3] = {false, false, false};
  bool any = false;  // a painted pixel in the band

  // What one fold over every row starts from.
  static Extremes Start() {
    return {
        {-1000000000.0, -1000000000.0, -1000000000.0}, {1000000000.0, 1000000000.0, 1000000000.0}, {0, 0, 0}};
  }
  // What a band starts from (see above).
  static Extremes BandStart() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {{-inf, -inf, -inf}, {inf, inf, inf}, {-inf, -inf, -inf}};
  }
  // Goes on with the band that follows.
  void Then(const Extremes& band) {
    if (!band.any) return;
    for (int c = 0; c < kChannels; ++c) {
      hi[c] = band.nanValue[c] ? band.hi[c] : Larger(hi[c], band.hi[c]);
      lo[c] = band.nanValue[c] ? band.lo[c] : Smaller(lo[c], band.lo[c]);
      bgHi[c] = band.nanBackground[c] ? band.bgHi[c] : Larger(bgHi[c], band.bgHi[c]);
    }
    any = true;
  }
};

void Canvas::NormaliseRows(int begin, int end, bool white, double d, Extremes& into) {
  Extremes e = into;
  for (int y = begin; y < end; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (first_step_[PixelIndex(x, y)] >= kNeverPainted) continue;
      e.any = true;
      const std::size_t cell = CellIndex(x, y);
      for (int c = 0; c < kChannels; ++c) {
        const double P = pixels_[cell + c];
        const double B = background_[cell + c];
        // Squeezes any accumulated difference from the background into
        // less than +-pi/2.
        const double N = std::atan((P - B) / 100) + B;
        normal_[cell + c] = N;
        const double v = white ? (B - N) * (d - 1) / d + N : N / d;
        e.hi[c] = Larger(e.hi[c], v);
        e.lo[c] = Smaller(e.lo[c], v);
        e.bgHi[c] = Larger(e.bgHi[c], B);
        e.nanValue[c] = e.nanValue[c] || v != v;
        e.nanBackground[c] = e.nanBackground[c] || B != B;
      }
    }
  }
  into = e;
}

// The value of every channel of every pixel as rendering sees it, before it
// becomes a byte: emit(x, y, values, normalised) with y counted from the
// bottom, called for different rows at once when rows are shared. Shared by
// the 8-bit bitmap and the 16-bit picture, so both come from the same
// arithmetic in the same order. The extremes of a normalising render always
// come from every row.
template <typename Emit>
void Canvas::RenderValues(const ParameterSet& params, int rowBegin, int rowEnd, Emit emit) {
  const bool normalise = Normalises(params);
  const bool white = params.White;

  Extremes all = Extremes::Start();
  if (normalise) {
    const double d = params.NormalisationDivisor;
    const int bands = BandsFor(height_);
    if (bands == 1) {
      NormaliseRows(0, height_, white, d, all);
    } else {
      Extremes band[kMostBands];
      ShareRows(0, height_, [&](int b, int first, int last) {
        band[b] = Extremes::BandStart();
        NormaliseRows(first, last, white, d, band[b]);
      });
      for (int b = 0; b < bands; ++b) all.Then(band[b]);
    }
  }
  const double* hi = all.hi;
  const double* lo = all.lo;
  const double* bg_hi = all.bgHi;

  double k = 1;
  if (!(hi[0] == lo[0] && hi[1] == lo[1] && hi[2] == lo[2])) {
    const double range = std::sqrt((hi[0] - lo[0]) * (hi[0] - lo[0]) + (hi[1] - lo[1]) * (hi[1] - lo[1]) +
                                   (hi[2] - lo[2]) * (hi[2] - lo[2]));
    const double bg =
        white ? std::sqrt(bg_hi[0] * bg_hi[0] + bg_hi[1] * bg_hi[1] + bg_hi[2] * bg_hi[2])
              : std::sqrt((255 - bg_hi[0]) * (255 - bg_hi[0]) + (255 - bg_hi[1]) * (255 - bg_hi[1]) +
                          (255 - bg_hi[2]) * (255 - bg_hi[2]));
    k = bg / range;
  }

  ShareRows(std::max(rowBegin, 0), std::min(rowEnd, height_), [&](int, int first, int last) {
    // Local copies: the bytes emitted could alias anything reached through
    // `this` or a reference, which would be loaded again after every store.
    const double* const pixels = pixels_.data();
    const double* const normal = normal_.data();
    const std::int32_t* const first_step = first_step_.data();
    const std::size_t width = static_cast<std::size_t>(width_);
    const double top[3] = {hi[0], hi[1], hi[2]}, bottom[3] = {lo[0], lo[1], lo[2]};
    const double brightest[3] = {bg_hi[0], bg_hi[1], bg_hi[2]}, scale = k;
    Emit put = emit;
    for (int y = first; y < last; ++y) {
      const std::size_t row = static_cast<std::size_t>(y) * width;
      for (std::size_t x = 0; x < width; ++x) {
        const std::size_t cell = (row + x) * kChannels;
        double value[3];
        const bool normalised = normalise && first_step[row + x] < kNeverPainted;
        if (normalised) {
          for (int c = 0; c < kChannels; ++c) {
            const double N = normal[cell + c];
            value[c] = white ? brightest[c] - (top[c] - N) * scale : (N - bottom[c]) * scale + brightest[c];
          }
        } else {
          for (int c = 0; c < kChannels; ++c) value[c] = pixels[cell + c];
        }
        put(static_cast<int>(x), y, value, normalised);
      }
    }
  });
}

void Canvas::ConvertRows(const ParameterSet& params, int rowBegin, int rowEnd) {
  MakeBitmap();
  canvas_rows_.resize(static_cast<std::size_t>(height_));
  for (int y = 0; y < height_; ++y) canvas_rows_[y] = bitmap_.Row(height_ - 1 - y);
  // Colouring is not running now: what it wrote so far is in this render.
  written_low_.store(INT_MAX, std::memory_order_relaxed);
  written_high_.store(-1, std::memory_order_relaxed);
  std::uint8_t* const* const rows = canvas_rows_.data();
  RenderValues(params, rowBegin, rowEnd, [rows](int x, int y, const double* value, bool normalised) {
    std::uint8_t* out = rows[y] + 3 * static_cast<std::size_t>(x);
    // A normalised value is limited to the byte's range; a raw one keeps
    // the wrap-around of its low byte, as the window has always shown it.
    for (int c = 0; c < kChannels; ++c)
      out[2 - c] = normalised ? ClampedByteOfRounded(value[c]) : LowByteOfRounded(value[c]);
  });
  const int begin = std::max(rowBegin, 0), end = std::min(rowEnd, height_);
  if (begin < end) {
    changed_begin_ = std::min(changed_begin_, height_ - end);
    changed_end_ = std::max(changed_end_, height_ - begin);
  }
}

void Canvas::DrawGridsOnPicture(const ParameterSet& params, Host* host) {
  ConvertRows(params, 0, height_);
  bitmap_current_ = !Normalises(params);
  if (host) host->OnRunEvent(RunEvent::kPictureChanged);
}

RowSpan Canvas::DrawWrittenRowsOnPicture(const ParameterSet& params) {
  if (!bitmap_current_ || Normalises(params) || bitmap_.Width() != width_ || bitmap_.Height() != height_) {
    DrawGridsOnPicture(params);
    return {0, height_};
  }
  const int low = std::max(written_low_.load(std::memory_order_relaxed), 0);
  const int high = std::min(written_high_.load(std::memory_order_relaxed), height_ - 1);
  if (low > high) return {};
  ConvertRows(params, low, high + 1);
  return {height_ - 1 - high, height_ - low};
}

RowSpan Canvas::TakeChangedBitmapRows() {
  RowSpan span{changed_begin_, changed_end_};
  if (changed_all_) span = {0, height_};
  span.begin = std::max(span.begin, 0);
  span.end = std::min(span.end, height_);
  changed_all_ = false;
  changed_begin_ = INT_MAX;
  changed_end_ = 0;
  return span.Empty() ? RowSpan{} : span;
}

DeepPicture Canvas::RenderDeep(const ParameterSet& params) {
  DeepPicture picture;
  picture.width = width_;
  picture.height = height_;
  picture.rgb.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0);
  RenderValues(params, 0, height_, [&](int x, int y, const double* value, bool) {
    std::uint16_t* out =
        picture.rgb.data() + (static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) +
                              static_cast<std::size_t>(x)) *
                                 3;
    for (int c = 0; c < kChannels; ++c) out[c] = DeepChannel(value[c]);
  });
  return picture;
}

void Canvas::CopyOutQuorlPicture() {
  saved_canvas_.Resize(width_, height_);
  saved_canvas_.DrawAtOrigin(bitmap_);
  const int h = saved_canvas_.Height();
  saved_canvas_rows_.resize(static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) saved_canvas_rows_[y] = saved_canvas_.Row(h - 1 - y);
}

}  // namespace quorl
