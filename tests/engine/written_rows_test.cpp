// Converting only the rows written since the last conversion gives the
// bitmap a whole conversion gives, through Clear, background images, a
// resize and normalising renders, and on one thread or several.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "canvas/dot_kernel.h"
#include "engine/drawing_run.h"
#include "support/engine_test_support.h"

namespace quorl {
namespace {

// Read through the const canvas: writing through Bitmap() would make the
// next conversion a whole one.
std::vector<std::uint8_t> BytesOf(const Canvas& canvas) {
  return canvas.Bitmap().Bytes();
}

class WrittenRows : public ::testing::TestWithParam<int> {
 protected:
  WrittenRows() {
    state->params.ImageWidth = 96;
    state->params.ImageHeight = 80;
    state->params.GrainMultiplier = 10;
    state->params.PercentToComplete = 100;
    state->params.Steps = 120;
    state->canvas.SetImageDimensions(state->params);
    state->canvas.MakePictureBlack(state->params, state->background);
    run.SetThreads(GetParam());
    run.SetParallelWork(0);
  }

  // A whole conversion of the same grids must give the bitmap the
  // row-limited one gave; the whole one then goes on as the reference.
  void ConvertAndCompare(const char* when) {
    const RowSpan span = state->canvas.DrawWrittenRowsOnPicture(state->params);
    const std::vector<std::uint8_t> limited = BytesOf(state->canvas);
    if (!span.Empty() && span.end - span.begin < state->canvas.CanvasHeight()) ++limited_conversions;
    state->canvas.DrawGridsOnPicture(state->params);
    ASSERT_EQ(limited, BytesOf(state->canvas)) << when << " at step " << run.CurrentStep();
  }

  // What a view keeps: the bitmap, updated by the changed rows only.
  void UpdateView() {
    const RowSpan rows = state->canvas.TakeChangedBitmapRows();
    const Picture24& bitmap = std::as_const(state->canvas).Bitmap();
    if (view.size() != bitmap.Bytes().size()) {
      view = bitmap.Bytes();
      return;
    }
    for (int y = rows.begin; y < rows.end; ++y)
      std::memcpy(view.data() + static_cast<std::size_t>(y) * bitmap.Stride(), bitmap.Row(y),
                  bitmap.Stride());
  }

  std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
  testing::TestHost host;
  DrawingRun run{*state, host};
  int limited_conversions = 0;
  std::vector<std::uint8_t> view;
};

TEST_P(WrittenRows, MatchWholeConversionsThroughClearBackgroundResizeAndNormalising) {
  // A background image that differs from row to row, centred on a canvas
  // larger than it.
  Picture24 image(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      image.SetPixel(x, y, static_cast<std::uint8_t>(7 * x), static_cast<std::uint8_t>(11 * y), 90);
  state->background.SetPicture(image);
  state->params.UseBackgroundImage = true;
  run.StartDrawing();
  run.Begin();
  int step = 0;
  for (bool more = true; more; ++step) {
    more = run.RunStep();
    if (step % 3 == 0) {
      ASSERT_NO_FATAL_FAILURE(ConvertAndCompare("every third step"));
    }
    if (step == 20) {
      run.Clear();
      ASSERT_NO_FATAL_FAILURE(ConvertAndCompare("after Clear"));
    }
    if (step == 40) {
      state->params.ImageWidth = 72;
      state->params.ImageHeight = 100;
      ASSERT_TRUE(state->canvas.SetImageDimensions(state->params));
      ASSERT_NO_FATAL_FAILURE(ConvertAndCompare("after a resize"));
    }
    if (step == 60) state->params.InterpolateColors = true;
    if (step == 61) {
      ASSERT_NO_FATAL_FAILURE(ConvertAndCompare("normalised"));
    }
    // Back to plain: the normalised bitmap is no base for converting rows.
    if (step == 70) state->params.InterpolateColors = false;
  }
  run.Finish();
  ASSERT_NO_FATAL_FAILURE(ConvertAndCompare("at the end"));
  // Not a disguised whole conversion: most steps write a band of rows.
  EXPECT_GT(limited_conversions, 5);
}

TEST_P(WrittenRows, AViewCopyingChangedRowsStaysTheBitmap) {
  run.StartDrawing();
  run.Begin();
  UpdateView();
  int step = 0;
  for (bool more = true; more; ++step) {
    more = run.RunStep();
    // Rows converted by a whole render in a step, by Clear and by the
    // row-limited conversion all reach the view.
    if (step % 4 == 0) state->canvas.DrawWrittenRowsOnPicture(state->params);
    if (step == 30) run.Clear();
    if (step % 5 == 0) {
      UpdateView();
      ASSERT_EQ(view, BytesOf(state->canvas)) << "step " << step;
    }
  }
  run.Finish();
  UpdateView();
  EXPECT_EQ(view, BytesOf(state->canvas));
}

INSTANTIATE_TEST_SUITE_P(Threads, WrittenRows, ::testing::Values(1, 2));

TEST(WrittenRowsOfOnePoint, AreTheRowsOfItsDotAlone) {
  ProgramState state;
  state.params.ImageWidth = 64;
  state.params.ImageHeight = 64;
  state.canvas.SetImageDimensions(state.params);
  state.canvas.MakePictureBlack(state.params, state.background);
  DotKernel kernel;
  DotStep dot;
  dot.dotSize = 2;
  dot.StepColor[0] = 200;
  kernel.Prepare(state.params, state.source, state.canvas, dot);
  ASSERT_FALSE(kernel.DrawsNothing());
  AddColorToPixels(state.canvas, kernel, DotPoint{0.5, -1.0, 1, 1});
  const RowSpan span = state.canvas.DrawWrittenRowsOnPicture(state.params);
  ASSERT_FALSE(span.Empty());
  EXPECT_LT(span.end - span.begin, 8);
  const std::vector<std::uint8_t> limited = BytesOf(state.canvas);
  state.canvas.DrawGridsOnPicture(state.params);
  EXPECT_EQ(limited, BytesOf(state.canvas));
  // Nothing written since: nothing to convert.
  EXPECT_TRUE(state.canvas.DrawWrittenRowsOnPicture(state.params).Empty());
}

}  // namespace
}  // namespace quorl
