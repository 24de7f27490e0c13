#include "services/recipe_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "base/sealed_file.h"
#include "curves/curve_record.h"
#include "engine/program_state.h"
#include "support/app_test_support.h"
#include "support/recording_host.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

class History : public ::testing::Test {
 protected:
  // A history with its own clock, one second a step.
  std::unique_ptr<RecipeHistory> OpenHistory(HistoryLimits limits = {}) {
    auto history = std::make_unique<RecipeHistory>(dir.string(), limits);
    history->Now = [this] { return clock; };
    std::string message;
    EXPECT_TRUE(history->Open(message)) << message;
    return history;
  }
  bool Record(RecipeHistory& history, const HistoryRecipe& recipe) {
    ++clock;
    std::string error;
    const bool ok = history.Record(recipe, error);
    EXPECT_TRUE(ok) << error;
    return ok;
  }
  static void ExpectSame(const HistoryRecipe& got, const HistoryRecipe& want) {
    EXPECT_EQ(got.params, want.params);
    EXPECT_TRUE(SameCurvePoints(got.curves, want.curves));
  }

  test::ScratchFolder scratch{"quorl-history-test"};
  const fs::path dir = scratch.Path() / "state";
  std::int64_t clock = 1000000;
};

TEST_F(History, UndoAndRedoRestoreEveryKindOfChangeExactly) {
  auto history = OpenHistory();
  std::vector<HistoryRecipe> recipes(1);
  Record(*history, recipes[0]);
  // One change of each kind: a whole number, a real number, a switch, a
  // function, a text (a picture's path), the canvas size, a curve stroke and
  // an animation path.
  const std::vector<std::function<void(HistoryRecipe&)>> changes = {
      [](HistoryRecipe& r) { r.params.StartRadius = 90; },
      [](HistoryRecipe& r) { r.params.StartMaxRed = 0.1 + 0.2; },
      [](HistoryRecipe& r) { r.params.NewColor = !r.params.NewColor; },
      [](HistoryRecipe& r) { r.params.FunctionNumber = 5; },
      [](HistoryRecipe& r) { r.params.SourceImageFileName = "/tmp/a picture.png"; },
      [](HistoryRecipe& r) {
        r.params.ImageWidth = 1234;
        r.params.ImageHeight = 567;
      },
      [](HistoryRecipe& r) {
        for (int i = 0; i < 7; ++i) r.curves[kRadiusSlot].Curve.AddPoint(i * 0.1, 1.0 / (i + 3));
      },
      [](HistoryRecipe& r) { r.curves.AnimStartPathCurve.AddPoint(0.5, -0.5); },
  };
  for (const auto& change : changes) {
    HistoryRecipe next;
    next.params = recipes.back().params;
    next.curves = recipes.back().curves;
    change(next);
    recipes.push_back(std::move(next));
    Record(*history, recipes.back());
  }
  HistoryRecipe got;
  std::string error;
  for (int i = static_cast<int>(recipes.size()) - 2; i >= 0; --i) {
    ASSERT_TRUE(history->Undo(got, error)) << error;
    ExpectSame(got, recipes[static_cast<std::size_t>(i)]);
  }
  EXPECT_FALSE(history->CanUndo());
  for (std::size_t i = 1; i < recipes.size(); ++i) {
    ASSERT_TRUE(history->Redo(got, error)) << error;
    ExpectSame(got, recipes[i]);
  }
  EXPECT_FALSE(history->CanRedo());
}

TEST_F(History, StepsSayWhatChanged) {
  HistoryRecipe a, b;
  a.params.StartRadius = 60;
  b.params = a.params;
  b.curves = a.curves;
  b.params.StartRadius = 90;
  EXPECT_EQ(DescribeRecipeChange(a, b), "Start radius 60 \u2192 90");
  HistoryRecipe drawn = a;
  drawn.params.ScatterSeed = "17966193886478230000";
  drawn.params.DrawsSinceClear = a.params.DrawsSinceClear + 1;
  EXPECT_EQ(DescribeRecipeChange(a, drawn), "Draw with a new scatter seed");
  drawn.params.StartRadius = 90;
  EXPECT_EQ(DescribeRecipeChange(a, drawn), "Start radius 60 \u2192 90, then a Draw with a new scatter seed");
  for (int i = 0; i < 6; ++i) b.curves[kPathCurveSlot].Curve.AddPoint(i, i);
  EXPECT_NE(DescribeRecipeChange(a, b).find("drawn"), std::string::npos);
  // The same recipe again is not a new entry.
  HistoryRecipe moved;
  moved.params = a.params;
  EXPECT_TRUE(SameRecipe(a, moved));
  auto history = OpenHistory();
  Record(*history, a);
  Record(*history, moved);
  EXPECT_EQ(history->Entries().size(), 1u);
}

TEST_F(History, ABranchSurvivesUndoAndARestart) {
  HistoryRecipe base, first, second;
  first.params.Steps = 10;
  second.params.Steps = 20;
  std::uint64_t firstId = 0;
  {
    auto history = OpenHistory();
    Record(*history, base);
    Record(*history, first);
    firstId = history->Current();
    HistoryRecipe got;
    std::string error;
    ASSERT_TRUE(history->Undo(got, error));
    Record(*history, second);  // a new branch beside `first`
  }
  auto history = OpenHistory();
  ASSERT_EQ(history->Entries().size(), 3u);
  const HistoryEntry* kept = history->Find(firstId);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->parent, history->Find(history->Current())->parent);
  HistoryRecipe got;
  std::string error;
  ASSERT_TRUE(history->GoTo(firstId, got, error)) << error;
  EXPECT_EQ(got.params.Steps, 10);
  // Undo from the old branch and Redo goes back to it, not to the newer one.
  EXPECT_EQ(history->RedoTarget(), 0u);
  ASSERT_TRUE(history->Undo(got, error));
  EXPECT_EQ(history->RedoTarget(), firstId);
  ASSERT_TRUE(history->Redo(got, error));
  EXPECT_EQ(history->Current(), firstId);
}

TEST_F(History, PruningKeepsTheNewestStepsWithinTheLimits) {
  std::uint64_t oneStep = 0;
  {
    auto history = OpenHistory();
    HistoryRecipe r;
    Record(*history, r);
    oneStep = history->TotalBytes();
  }
  fs::remove_all(dir);
  // Room for about four steps.
  HistoryLimits limits;
  limits.maxBytes = oneStep * 4 + oneStep / 2;
  auto history = OpenHistory(limits);
  for (int i = 0; i < 10; ++i) {
    HistoryRecipe r;
    r.params.Steps = 100 + i;
    Record(*history, r);
  }
  EXPECT_LE(history->TotalBytes(), limits.maxBytes);
  ASSERT_GE(history->Entries().size(), 3u);
  // The newest are kept, in order, and the oldest are gone from the disk.
  HistoryRecipe got;
  std::string error;
  ASSERT_TRUE(history->GoTo(history->Entries().back().id, got, error));
  EXPECT_EQ(got.params.Steps, 109);
  ASSERT_TRUE(history->GoTo(history->Entries().front().id, got, error));
  EXPECT_EQ(got.params.Steps, 110 - static_cast<int>(history->Entries().size()));
  EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator())),
            history->Entries().size() + 1);  // and the index

  // By age: after 31 days only the current step is left.
  HistoryLimits byAge;
  byAge.maxAgeSeconds = 30LL * 24 * 3600;
  auto aged = OpenHistory(byAge);
  clock += 31LL * 24 * 3600;
  HistoryRecipe r;
  r.params.Steps = 7;
  Record(*aged, r);
  EXPECT_EQ(aged->Entries().size(), 1u);
}

TEST_F(History, FilesFromANewerVersionAreRefusedAndNeverOverwritten) {
  {
    auto history = OpenHistory();
    Record(*history, HistoryRecipe());
  }
  const fs::path index = dir / "history.qidx";
  std::string payload, error;
  ASSERT_TRUE(ReadSealedFile(index.string(), kHistoryIndexKind, payload, error)) << error;
  constexpr SealedKind newer{kHistoryIndexKind.magic, kHistoryIndexKind.version + 1, "history index"};
  ASSERT_TRUE(WriteSealedFile(index.string(), newer, payload, error));
  const std::string before = test::ReadFile(index);

  RecipeHistory history(dir.string());
  std::string message;
  EXPECT_FALSE(history.Open(message));
  EXPECT_NE(message.find("newer version"), std::string::npos) << message;
  EXPECT_TRUE(history.ReadOnly());
  HistoryRecipe r;
  r.params.Steps = 3;
  EXPECT_FALSE(history.Record(r, error));
  EXPECT_EQ(test::ReadFile(index), before);
}

TEST_F(History, DamagedFilesAreSkippedWithAMessage) {
  std::uint64_t second = 0;
  {
    auto history = OpenHistory();
    HistoryRecipe a, b;
    b.params.Steps = 3;
    Record(*history, a);
    Record(*history, b);
    second = history->Current();
  }
  const fs::path step = dir / ("step-" + std::to_string(second) + ".qhist");
  std::string bytes = test::ReadFile(step);
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x10);
  test::WriteFile(step, bytes);
  test::WriteFile(dir / "history.qidx", "garbage");
  RecipeHistory history(dir.string());
  std::string message;
  EXPECT_FALSE(history.Open(message));
  EXPECT_NE(message.find("damaged"), std::string::npos) << message;
  EXPECT_EQ(history.Entries().size(), 1u);
  EXPECT_FALSE(history.ReadOnly());
  std::string error;
  HistoryRecipe r;
  r.params.Steps = 4;
  EXPECT_TRUE(history.Record(r, error)) << error;
}

}  // namespace
}  // namespace quorl

namespace quorl {
namespace {

TEST(PutRecipeBack, BringsBackTheValuesAndTheSmoothCurves) {
  ProgramState original;
  original.params.StartRadius = 123;
  for (int i = 0; i < 8; ++i)
    original.curves[kStartCurveSlot].Curve.AddPoint(std::cos(i * 0.8), std::sin(i * 0.8) + 0.3);
  for (int i = 0; i < 6; ++i) original.curves[kAngleSlot].Curve.AddPoint(i * 0.1, i * i * 0.01);
  for (int i = 0; i < 6; ++i) original.curves.AnimEndPathCurve.AddPoint(-i * 0.1, i * 0.2);
  for (int slot : {1, 4}) original.curves.SetUpBezier(BezierKind::kSlot, slot);
  original.curves.SetUpBezier(BezierKind::kAnimEnd, 0);
  const HistoryRecipe recipe = RecipeOf(original.params, original.curves);

  ProgramState other;
  other.params.StartRadius = 7;
  for (int i = 0; i < 9; ++i) other.curves[kAngleSlot].Curve.AddPoint(i, -i);
  other.curves.SetUpBezier(BezierKind::kSlot, 4);
  PutRecipeBack(recipe, other.params, other.curves);

  EXPECT_EQ(other.params.StartRadius, 123);
  EXPECT_TRUE(SameCurvePoints(other.curves, original.curves));
  for (double u : {0.0, 0.3, 0.77, 1.0}) {
    // Slot 1 is an outline, built about its centre: the same as at first.
    EXPECT_EQ(other.curves[kStartCurveSlot].Bezier.EvalX(u),
              original.curves[kStartCurveSlot].Bezier.EvalX(u));
    EXPECT_EQ(other.curves[kAngleSlot].Bezier.EvalY(u), original.curves[kAngleSlot].Bezier.EvalY(u));
    EXPECT_EQ(other.curves.AnimEndPathBezier.EvalY(u), original.curves.AnimEndPathBezier.EvalY(u));
  }
}

}  // namespace
}  // namespace quorl
