// The Edit menu, the Points window's curve buttons and the curve file
// commands.
#include "services/curve_commands.h"

#include <gtest/gtest.h>

#include "support/curve_edit_test_support.h"

namespace quorl {
namespace {

// Every file dialog is cancelled.
class ScriptedDialogs : public CurveFileDialogs {
 public:
  std::string SaveFile(const std::string&, const std::string&, const std::string&, const std::string&,
                       const std::string&, const std::string&) override {
    return {};
  }
  std::string OpenFile(const std::string&, const std::string&, const std::string&,
                       const std::string&) override {
    return {};
  }
  bool AskYesNo(const std::string&) override { return false; }
};

class CurveCommandsTest : public CurveEditFixture {
 protected:
  void SetUp() override {
    CurveEditFixture::SetUp();
    commands_ = std::make_unique<CurveCommands>(*session_, dialogs_);
  }
  void FivePoints(int slot) { SetPixelCurve(slot, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}}); }

  ScriptedDialogs dialogs_;
  std::unique_ptr<CurveCommands> commands_;
};

TEST_F(CurveCommandsTest, UndoNeedsADisplayedCurveAndTogglesBetweenTwoStates) {
  FivePoints(3);
  const std::vector<Point> drawn = Slot(3).Curve.Points;
  commands_->UndoCurveEdit();
  EXPECT_EQ(host_.LastStatus(), "Not displaying a curve, so not going to undo.");
  EXPECT_EQ(Slot(3).Curve.Points, drawn);

  commands_->ResetCurve();  // "Reset curve", with an undo copy
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  EXPECT_FALSE(points_view_.marks[3]);
  session_->ShowSelectedCurve();
  EXPECT_EQ(host_.LastStatus(), "The \"Values - Radius\" bezier is not set at present.");

  commands_->UndoCurveEdit();
  EXPECT_EQ(Slot(3).Curve.Points, drawn);
  EXPECT_TRUE(Slot(3).Bezier.IsValid());
  EXPECT_TRUE(points_view_.marks[3]);
  commands_->UndoCurveEdit();
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  commands_->UndoCurveEdit();
  EXPECT_EQ(Slot(3).Curve.Points, drawn);

  session_->Mode = RightButtonMode::PathPoints;
  commands_->UndoCurveEdit();
  EXPECT_EQ(host_.LastStatus(), "No curve selected to undo");
}

TEST_F(CurveCommandsTest, ClipboardCopiesOnlyDefinedCurvesAndPastesRepeatedly) {
  // Nothing in the clipboard: the slot keeps its curve.
  FivePoints(4);
  const std::vector<Point> four = Slot(4).Curve.Points;
  session_->SelectedSlot = kAngleSlot;
  commands_->PasteCurve();
  EXPECT_EQ(host_.LastStatus(), "There is no curve in the Quorl clipboard at present. No curve pasted.");
  EXPECT_EQ(Slot(4).Curve.Points, four);

  session_->SelectedSlot = kRadiusSlot;
  Slot(3).Curve.AddPoint(0.5, 0.5);
  commands_->CopyCurveToClipboard();
  EXPECT_EQ(host_.LastStatus(),
            "The \"Values - Radius\" is not defined at present. No curve copied to Quorl clipboard.");
  EXPECT_EQ(state_->curves.ClipboardCurve.GetLength(), 0);
  // A cut that copied nothing takes nothing away.
  commands_->CutCurve();
  EXPECT_EQ(Slot(3).Curve.GetLength(), 1);

  FivePoints(3);
  const std::vector<Point> three = Slot(3).Curve.Points;
  commands_->CutCurve();
  EXPECT_EQ(host_.LastStatus(), "Curve cut and copied to Quorl clipboard");
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  EXPECT_EQ(Slot(3).UndoCurve.Points, three);

  for (int target : {4, 5}) {
    session_->SelectedSlot = target;
    commands_->PasteCurve();
    EXPECT_EQ(Slot(target).Curve.Points, three);
    EXPECT_TRUE(Slot(target).Bezier.IsValid());
  }
  EXPECT_EQ(Slot(4).UndoCurve.Points, four);
  EXPECT_EQ(host_.LastStatus(), "Curve pasted from Quorl clipboard.");

  session_->Mode = RightButtonMode::RotationPoints;
  commands_->PasteCurve();
  commands_->CopyCurveToClipboard();
  EXPECT_EQ(host_.messages, (std::vector<std::string>{
                                "No target curve selected, please select \"Set curve\" in the points form",
                                "No curve selected, please select \"Set curve\" in the points form"}));
}

TEST_F(CurveCommandsTest, ReverseNeedsFivePoints) {
  SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}});
  const std::vector<Point> four = Slot(3).Curve.Points;
  commands_->ReverseSelectedCurve();
  EXPECT_EQ(host_.messages.back(), "\"Values - Radius\"is not defined at present.");
  EXPECT_EQ(Slot(3).Curve.Points, four);

  FivePoints(3);
  const std::vector<Point> five = Slot(3).Curve.Points;
  commands_->ReverseSelectedCurve();
  EXPECT_EQ(Slot(3).Curve.Points, std::vector<Point>(five.rbegin(), five.rend()));
  EXPECT_EQ(host_.LastStatus(), "\"Values - Radius\"reversed.");
  EXPECT_TRUE(state_->canvas.MultiplierMode);

  session_->Mode = RightButtonMode::PathPoints;
  commands_->ReverseSelectedCurve();
  EXPECT_EQ(host_.messages.back(), "There is no curve selected at present.");
}

}  // namespace
}  // namespace quorl
