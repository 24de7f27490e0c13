// The canvas: the floating-point grids that dots accumulate in, and the
// 24-bit bitmap they are rendered into. Pixels are addressed (x, y) with
// x = 0 the left column and y = 0 the BOTTOM row; the bitmap stores its rows
// top to bottom, and CanvasRows turns them over.
#pragma once

#include <atomic>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/picture24.h"
#include "canvas/canvas_grids.h"
#include "canvas/deep_picture.h"
#include "canvas/image_stores.h"
#include "settings/parameter_set.h"

namespace quorl {

class WorkerPool;

// Rows [begin, end); empty when begin >= end.
struct RowSpan {
  int begin = 0;
  int end = 0;
  bool Empty() const { return begin >= end; }
};

class Canvas {
 public:
  static constexpr int kChannels = 3;
  // FirstStepBuffer value of a pixel that no dot reached since the last reset.
  static constexpr std::int32_t kNeverPainted = 1000000;

  Canvas() = default;
  // The row tables point into the canvas's own bitmaps.
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int CanvasWidth() const { return width_; }
  int CanvasHeight() const { return height_; }
  bool PixelOnCanvas(int px, int py) const { return px >= 0 && px < width_ && py >= 0 && py < height_; }

  // Brings every grid and the bitmap to ImageWidth x ImageHeight (negative
  // sizes count as 0). Cells whose (x, y) still exists keep their values,
  // new cells are 0. When the grids cannot be allocated, returns false with
  // the reason and leaves the canvas as it was.
  bool SetImageDimensions(const ParameterSet& params, std::string* error = nullptr);

  // Resets the picture to the background (colour, image or saved canvas),
  // marks every pixel kNeverPainted, and renders. With KeepPicture set it
  // only renders.
  void MakePictureBlack(const ParameterSet& params, const BackgroundStore& background, Host* host = nullptr);

  // Renders the pixel buffer into the bitmap, normalising when
  // InterpolateColors is set, then tells the host.
  void DrawGridsOnPicture(const ParameterSet& params, Host* host = nullptr);
  // The same bitmap as DrawGridsOnPicture, byte for byte, converting only
  // the rows written since the last conversion. A normalising render reads
  // extremes over the whole canvas and so converts every row, as does the
  // first conversion after anything that replaced the bitmap or the grids.
  // Returns the bitmap rows (top to bottom) converted; tells no host.
  RowSpan DrawWrittenRowsOnPicture(const ParameterSet& params);
  // True when a render with these parameters normalises the picture.
  static bool Normalises(const ParameterSet& params) {
    return params.InterpolateColors && params.NormalisationDivisor != 0;
  }
  // Colouring reports the rows (y from the bottom, lowest to highest, both
  // included) it wrote into the pixel buffer; threads colouring different
  // rows may report at the same time.
  void NoteRowsWritten(int lowest, int highest) {
    LowerTo(written_low_, lowest);
    RaiseTo(written_high_, highest);
  }
  // Bitmap rows (top to bottom) that conversions changed since the last
  // call: what a view keeping its own copy of the bitmap copies again. The
  // whole bitmap after a change of size or a write through Bitmap().
  RowSpan TakeChangedBitmapRows();

  // The picture at 16 bits a channel from the same grids: each value that
  // the bitmap would round to a byte, times 257, rounded (halves to even)
  // and limited to 0 ... 65535.
  DeepPicture RenderDeep(const ParameterSet& params);
  // A copy of the grids, e.g. for an autosave written while drawing goes on.
  CanvasGrids CopyGrids() const;
  // The same into `into`, reusing its vectors' memory when it is large
  // enough: no fresh pages to fault in.
  void CopyGridsInto(CanvasGrids& into) const;
  // Takes the grids over (the canvas's size becomes theirs) and renders
  // nothing; false, with the canvas unchanged, for grids whose sizes do not
  // agree or when memory runs out.
  bool RestoreGrids(CanvasGrids&& grids);

  // Renders and resets share their rows out among the pool's threads; null
  // (the default) keeps them on the calling thread. The pool must be idle
  // whenever the canvas renders or resets. The canvas only watches the
  // pool: once its owner lets it go, the canvas works alone again, whichever
  // of the two goes first.
  void ShareRowsWith(const std::shared_ptr<WorkerPool>& pool) { row_pool_ = pool; }
  std::shared_ptr<WorkerPool> RowsSharedWith() const { return row_pool_.lock(); }

  // Keeps a copy of the bitmap for the curve display to restore.
  void CopyOutQuorlPicture();

  // While set, a reset leaves the pixel buffer alone and only renders.
  bool KeepPicture = false;
  // While set, a reset restores the saved canvas instead of the background.
  bool MultiplierMode = false;

  // Grid cells. Channel 0 red, 1 green, 2 blue, on a 0 ... 255 scale.
  double Pixel(int channel, int x, int y) const { return pixels_[CellIndex(x, y) + channel]; }
  void SetPixel(int channel, int x, int y, double value) {
    pixels_[CellIndex(x, y) + channel] = value;
    NoteRowsWritten(y, y);
  }
  double Background(int channel, int x, int y) const { return background_[CellIndex(x, y) + channel]; }
  double Normal(int channel, int x, int y) const { return normal_[CellIndex(x, y) + channel]; }
  std::int32_t FirstStep(int x, int y) const { return first_step_[PixelIndex(x, y)]; }
  void SetFirstStep(int x, int y, std::int32_t step) {
    first_step_[PixelIndex(x, y)] = step;
    NoteRowsWritten(y, y);
  }

  // Raw grids for the accumulation loop: pixel (x, y) channel c is element
  // (y * CanvasWidth + x) * 3 + c; FirstStepBuffer element y * CanvasWidth + x.
  // Whoever writes through them reports the rows (NoteRowsWritten).
  double* PixelBuffer() { return pixels_.data(); }
  std::int32_t* FirstStepBuffer() { return first_step_.data(); }

  // A bitmap written from outside is converted whole next time.
  Picture24& Bitmap() {
    bitmap_current_ = false;
    changed_all_ = true;
    return bitmap_;
  }
  const Picture24& Bitmap() const { return bitmap_; }
  // Entry y is bitmap row CanvasHeight - 1 - y; rebuilt at every render.
  const std::vector<std::uint8_t*>& CanvasRows() const { return canvas_rows_; }

  const Picture24& SavedCanvas() const { return saved_canvas_; }
  // Entry y is saved-canvas row height - 1 - y.
  const std::vector<const std::uint8_t*>& SavedCanvasRows() const { return saved_canvas_rows_; }

 private:
  std::size_t PixelIndex(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  std::size_t CellIndex(int x, int y) const { return PixelIndex(x, y) * kChannels; }
  void MakeBitmap();
  // The bands ShareRows cuts `rows` rows into: 1 without a pool.
  int BandsFor(int rows) const;
  // Calls work(band, first, last) for every band of rows [begin, end)
  // (band 0 lowest; rows first <= y < last), on whichever of the pool's
  // threads is free, and returns when all are done.
  template <typename Work>
  void ShareRows(int begin, int end, Work work);
  // The normalising extremes of rows [begin, end) folded onto `into`, with
  // normal_ written for their painted pixels.
  struct Extremes;
  void NormaliseRows(int begin, int end, bool white, double d, Extremes& into);
  // Emits rows rowBegin <= y < rowEnd (y from the bottom).
  template <typename Emit>
  void RenderValues(const ParameterSet& params, int rowBegin, int rowEnd, Emit emit);
  void ConvertRows(const ParameterSet& params, int rowBegin, int rowEnd);
  void NoteAllRowsWritten() {
    LowerTo(written_low_, 0);
    RaiseTo(written_high_, INT_MAX - 1);
  }
  static void LowerTo(std::atomic<int>& value, int to) {
    int now = value.load(std::memory_order_relaxed);
    while (to < now && !value.compare_exchange_weak(now, to, std::memory_order_relaxed)) {
    }
  }
  static void RaiseTo(std::atomic<int>& value, int to) {
    int now = value.load(std::memory_order_relaxed);
    while (to > now && !value.compare_exchange_weak(now, to, std::memory_order_relaxed)) {
    }
  }
  void ResetToBackground(const ParameterSet& params, const BackgroundStore& background);

  int width_ = 0;
  int height_ = 0;
  std::vector<double> pixels_;
  std::vector<double> background_;
  std::vector<double> normal_;
  std::vector<std::int32_t> first_step_;
  Picture24 bitmap_;
  std::vector<std::uint8_t*> canvas_rows_;
  Picture24 saved_canvas_;
  std::vector<const std::uint8_t*> saved_canvas_rows_;
  // Rows written since the last conversion (lowest > highest: none).
  std::atomic<int> written_low_{INT_MAX};
  std::atomic<int> written_high_{-1};
  // The bitmap is a plain (not normalised) conversion of every row of the
  // grids as they were at the last conversion.
  bool bitmap_current_ = false;
  // Bitmap rows changed for the view since it last took them.
  int changed_begin_ = INT_MAX;
  int changed_end_ = 0;
  bool changed_all_ = true;
  std::weak_ptr<WorkerPool> row_pool_;
};

}  // namespace quorl
