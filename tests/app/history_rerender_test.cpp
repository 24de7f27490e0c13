// A picture saved after its recipe went through undo and redo must come back
// the same from the recipe inside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/render_command.h"
#include "canvas/picture_files.h"
#include "engine/drawing_run.h"
#include "services/picture_saving.h"
#include "services/recipe_history.h"
#include "support/app_test_support.h"
#include "support/recording_host.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

TEST(HistoryRerender, APictureSavedAfterUndoAndRedoRendersAgainFromItsRecipe) {
  test::ScratchFolder scratch{"quorl-history-rerender"};
  RecordingHost host;
  auto state = std::make_unique<ProgramState>();
  ParameterSet& p = state->params;
  p.ImageWidth = 64;
  p.ImageHeight = 48;
  p.Steps = 80;
  p.GrainMultiplier = 20;
  p.KeepSettingsInPictures = true;
  RecipeHistory history((scratch.Path() / "state").string());
  std::string error;
  ASSERT_TRUE(history.Open(error)) << error;
  ASSERT_TRUE(history.Record(RecipeOf(state->params, state->curves), error)) << error;

  // A change of values and a curve stroke, one step each. The points are
  // exact in the curve files' decimal text.
  p.StartRadius = 160;
  p.EndIota = 90;
  ASSERT_TRUE(history.Record(RecipeOf(state->params, state->curves), error)) << error;
  for (int i = 0; i < 7; ++i)
    state->curves[kRadiusSlot].Curve.AddPoint(i * 0.25 - 0.75, 0.125 * ((i * 3) % 5) - 0.25);
  state->curves.SetUpBezier(BezierKind::kSlot, 3);
  ASSERT_TRUE(history.Record(RecipeOf(state->params, state->curves), error)) << error;
  const HistoryRecipe final = RecipeOf(state->params, state->curves);

  HistoryRecipe recipe;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(history.Undo(recipe, error)) << error;
    PutRecipeBack(recipe, state->params, state->curves);
  }
  EXPECT_EQ(state->params.StartRadius, 100);
  EXPECT_EQ(state->curves[kRadiusSlot].Curve.GetLength(), 0);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(history.Redo(recipe, error)) << error;
    PutRecipeBack(recipe, state->params, state->curves);
  }
  ASSERT_TRUE(SameRecipe(RecipeOf(state->params, state->curves), final));

  state->canvas.SetImageDimensions(p);
  state->canvas.MakePictureBlack(p, state->background);
  DrawingRun run(*state, host);
  run.DrawOrStop();
  state->layout.SaveDir = scratch.Path().string() + "/";
  const SaveResult saved = SavePictureFiles(*state, host);
  ASSERT_TRUE(saved.ok) << saved.error;

  const std::string again = (scratch.Path() / "again.png").string();
  const test::Outcome outcome = test::RunQuorl("render", {saved.pngPath, "-o", again});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  Picture24 first, second;
  ASSERT_TRUE(DecodePictureFile(saved.pngPath, first, error)) << error;
  ASSERT_TRUE(DecodePictureFile(again, second, error)) << error;
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, state->canvas.Bitmap());
}

}  // namespace
}  // namespace quorl
