// The Edit menu, the Points window's curve buttons and the curve file
// commands.
#include <gtest/gtest.h>

#include <filesystem>

#include "curve_edit_test_support.h"
#include "curves/curve_commands.h"
#include "settings/atomic_file.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

class ScriptedDialogs : public CurveFileDialogs {
 public:
  std::string SaveFile(const std::string& title, const std::string& folder, const std::string& proposed,
                       const std::string& filterName, const std::string& pattern,
                       const std::string& extension) override {
    requests.push_back(title + "|" + folder + "|" + proposed + "|" + filterName + "|" + pattern + "|" + extension);
    return save_answer;
  }
  std::string OpenFile(const std::string& title, const std::string& folder, const std::string& filterName,
                       const std::string& pattern) override {
    requests.push_back(title + "|" + folder + "|" + filterName + "|" + pattern);
    return open_answer;
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return yes;
  }
  std::vector<std::string> requests, questions;
  std::string save_answer, open_answer;
  bool yes = false;
};

class CurveCommandsTest : public CurveEditFixture {
 protected:
  void SetUp() override {
    CurveEditFixture::SetUp();
    commands_ = std::make_unique<CurveCommands>(*session_, dialogs_);
    dir_ = fs::path(::testing::TempDir()) /
           ("curvecmd_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void FivePoints(int slot) { SetPixelCurve(slot, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}}); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  ScriptedDialogs dialogs_;
  std::unique_ptr<CurveCommands> commands_;
  fs::path dir_;
};

TEST_F(CurveCommandsTest, UndoNeedsADisplayedCurveAndTogglesBetweenTwoStates) {
  FivePoints(3);
  const std::vector<kCoord> drawn = Slot(3).Curve.Points;
  commands_->Undocurveedit1Click();
  EXPECT_EQ(host_.LastStatus(), "Not displaying a curve, so not going to undo.");
  EXPECT_EQ(Slot(3).Curve.Points, drawn);

  commands_->btnClearMultiplierClick();  // "Reset curve", with an undo copy
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  EXPECT_FALSE(points_view_.marks[3]);
  session_->btnDrawMultiplierActualClick();
  EXPECT_EQ(host_.LastStatus(), "The \"Values - Radius\" bezier is not set at present.");

  commands_->Undocurveedit1Click();
  EXPECT_EQ(Slot(3).Curve.Points, drawn);
  EXPECT_TRUE(Slot(3).Bezier.IsValid());
  EXPECT_TRUE(points_view_.marks[3]);
  commands_->Undocurveedit1Click();
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  commands_->Undocurveedit1Click();
  EXPECT_EQ(Slot(3).Curve.Points, drawn);

  session_->Mode = RightButtonMode::PathPoints;
  commands_->Undocurveedit1Click();
  EXPECT_EQ(host_.LastStatus(), "No curve selected to undo");
}

TEST_F(CurveCommandsTest, ClipboardCopiesOnlyDefinedCurvesAndPastesRepeatedly) {
  // Nothing in the clipboard: the slot keeps its curve.
  FivePoints(4);
  const std::vector<kCoord> four = Slot(4).Curve.Points;
  session_->SelectedSlot = 4;
  commands_->PasteCurve1Click();
  EXPECT_EQ(host_.LastStatus(), "There is no curve in the Quorl clipboard at present. No curve pasted.");
  EXPECT_EQ(Slot(4).Curve.Points, four);

  session_->SelectedSlot = 3;
  Slot(3).Curve.AddPoint(0.5, 0.5);
  commands_->CopyCurve1Click();
  EXPECT_EQ(host_.LastStatus(),
            "The \"Values - Radius\" is not defined at present. No curve copied to Quorl clipboard.");
  EXPECT_EQ(state_->curves.ClipboardCurve.GetLength(), 0);
  // A cut that copied nothing takes nothing away.
  commands_->CutCurve1Click();
  EXPECT_EQ(Slot(3).Curve.GetLength(), 1);

  FivePoints(3);
  const std::vector<kCoord> three = Slot(3).Curve.Points;
  commands_->CutCurve1Click();
  EXPECT_EQ(host_.LastStatus(), "Curve cut and copied to Quorl clipboard");
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  EXPECT_EQ(Slot(3).UndoCurve.Points, three);

  for (int target : {4, 5}) {
    session_->SelectedSlot = target;
    commands_->PasteCurve1Click();
    EXPECT_EQ(Slot(target).Curve.Points, three);
    EXPECT_TRUE(Slot(target).Bezier.IsValid());
  }
  EXPECT_EQ(Slot(4).UndoCurve.Points, four);
  EXPECT_EQ(host_.LastStatus(), "Curve pasted from Quorl clipboard.");

  session_->Mode = RightButtonMode::RotationPoints;
  commands_->PasteCurve1Click();
  commands_->CopyCurve1Click();
  EXPECT_EQ(host_.messages,
            (std::vector<std::string>{"No target curve selected, please select \"Set curve\" in the points form",
                                      "No curve selected, please select \"Set curve\" in the points form"}));
}

TEST_F(CurveCommandsTest, ReverseNeedsFivePoints) {
  SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}});
  const std::vector<kCoord> four = Slot(3).Curve.Points;
  commands_->btnReverseCurveClick();
  EXPECT_EQ(host_.messages.back(), "\"Values - Radius\"is not defined at present.");
  EXPECT_EQ(Slot(3).Curve.Points, four);

  FivePoints(3);
  const std::vector<kCoord> five = Slot(3).Curve.Points;
  commands_->btnReverseCurveClick();
  EXPECT_EQ(Slot(3).Curve.Points, std::vector<kCoord>(five.rbegin(), five.rend()));
  EXPECT_EQ(host_.LastStatus(), "\"Values - Radius\"reversed.");
  EXPECT_TRUE(state_->canvas.MultiplierMode);

  session_->Mode = RightButtonMode::PathPoints;
  commands_->btnReverseCurveClick();
  EXPECT_EQ(host_.messages.back(), "There is no curve selected at present.");
}

TEST_F(CurveCommandsTest, ResetAllEmptiesEverySlotButKeepsAnUndrawnPicture) {
  FivePoints(0);
  FivePoints(7);
  session_->MarkCurve(7);
  // Something drawn that no reset should wipe.
  state_->canvas.SetPixel(0, 10, 10, 250);
  state_->canvas.drawArrayOnImage(Params());
  const Picture24 picture = state_->canvas.Bitmap();
  commands_->Resetallcurves1Click();
  for (int i = 0; i < CurveCount; ++i) EXPECT_EQ(Slot(i).Curve.GetLength(), 0) << i;
  EXPECT_EQ(Slot(7).UndoCurve.GetLength(), 5);
  EXPECT_FALSE(points_view_.marks[7]);
  EXPECT_EQ(state_->canvas.Bitmap(), picture);
  EXPECT_EQ(host_.LastStatus(), "All curves (excluding clipboard) reset.");

  commands_->btnHideCurveClick();
  EXPECT_EQ(host_.LastStatus(), "No curve to hide.");
}

TEST_F(CurveCommandsTest, SaveProposesTheSlotNameAndAsksBeforeOverwriting) {
  Params().SaveDir = dir_.string() + "/";
  session_->SelectedSlot = 0;
  commands_->Savecurvefile1Click();
  EXPECT_EQ(host_.messages.back(), "The currently selected curve is not defined at the moment.");

  FivePoints(0);
  commands_->Savecurvefile1Click();  // cancelled
  EXPECT_EQ(dialogs_.requests.back(),
            "Save your text or word file|" + dir_.string() + "/|Main_-_Path_curve|Quorl path file|*.curve|curve");
  EXPECT_EQ(host_.LastStatus(), "Saving curve was cancelled.");

  const std::string file = File("Main_-_Path_curve.curve");
  dialogs_.save_answer = file;
  commands_->Savecurvefile1Click();
  EXPECT_EQ(host_.LastStatus(), "Saved " + file);
  EXPECT_TRUE(dialogs_.questions.empty());
  std::string first;
  ASSERT_TRUE(ReadWholeFile(file, first));
  EXPECT_EQ(first, CurveFileText(Slot(0).Curve.Points));

  // Over an existing file: No writes nothing.
  SetPixelCurve(0, {{10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50}, {60, 60}});
  commands_->Savecurvefile1Click();
  EXPECT_EQ(dialogs_.questions.back(), "Do you want to overwrite \n" + file + "?");
  EXPECT_EQ(host_.LastStatus(), "Curve not saved.");
  std::string after;
  ASSERT_TRUE(ReadWholeFile(file, after));
  EXPECT_EQ(after, first);

  // A chosen name with blanks is written with "_"; that is the file asked about.
  dialogs_.save_answer = File("Main - Path curve.curve");
  dialogs_.yes = true;
  commands_->Savecurvefile1Click();
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  ASSERT_TRUE(ReadWholeFile(file, after));
  EXPECT_EQ(after, CurveFileText(Slot(0).Curve.Points));

  session_->Mode = RightButtonMode::RotationPoints;
  commands_->Savecurvefile1Click();
  EXPECT_EQ(host_.messages.back(), "You must have a curve selected in the Points form.");
}

TEST_F(CurveCommandsTest, LoadReplacesTheCurveAndAlwaysRedraws) {
  Params().LoadDir = dir_.string() + "/";
  commands_->btnLoadPathFromFileClick();  // cancelled
  EXPECT_EQ(dialogs_.requests.back(),
            "Load path for \"Values - Radius\"|" + dir_.string() + "/|Quorl paths (.curve)|*.curve");
  EXPECT_EQ(host_.LastStatus(), "The \"Values - Radius\" bezier is not set at present.");

  FivePoints(9);
  const std::vector<kCoord> points = Slot(9).Curve.Points;
  ASSERT_TRUE(WriteFileAtomically(File("five.curve"), CurveFileText(points)));
  Params().LoadDir.clear();
  dialogs_.open_answer = File("five.curve");
  commands_->btnLoadPathFromFileClick();
  EXPECT_EQ(Slot(3).Curve.GetLength(), 5);
  EXPECT_TRUE(Slot(3).Bezier.IsValid());
  EXPECT_EQ(Params().LoadDir, dir_.string() + "/");
  EXPECT_NE(std::find(host_.status.begin(), host_.status.end(), "Loaded " + File("five.curve")), host_.status.end());
  EXPECT_EQ(host_.LastStatus(), "Finished drawing \"Values - Radius\" bezier");

  ASSERT_TRUE(WriteFileAtomically(File("odd.curve"), "1\r\n2\r\n3\r\n"));
  dialogs_.open_answer = File("odd.curve");
  host_.status.clear();
  commands_->btnLoadPathFromFileClick();
  EXPECT_EQ(host_.messages.back(), "There is a problem with the .curve file");
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  EXPECT_EQ(std::find(host_.status.begin(), host_.status.end(), "Loaded " + File("odd.curve")), host_.status.end());
}

}  // namespace
}  // namespace quorl
