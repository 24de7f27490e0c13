#include "services/curve_commands.h"

#include "base/paths.h"
#include "curves/curve_file_names.h"
#include "engine/program_state.h"
#include "settings/parameter_set.h"

namespace quorl {

namespace {

constexpr const char* kNoTargetSelected =
    "No target curve selected, please select \"Set curve\" in the points form";
constexpr const char* kClipboardEmpty =
    "There is no curve in the Quorl clipboard at present. No curve pasted.";
constexpr const char* kNoBezierSelected = "You must have a bezier selected in the Points form.";

bool Defined(const CurvePoints& curve) {
  return curve.GetLength() >= kDefinedCurvePoints;
}

}  // namespace

std::string FolderOfFile(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

CurveCommands::CurveCommands(CurveEditSession& session, CurveFileDialogs& dialogs)
    : session_(session), dialogs_(dialogs) {}

// --- Edit menu

void CurveCommands::UndoCurveEdit() {
  if (!session_.State().canvas.MultiplierMode) {
    session_.ShowStatus("Not displaying a curve, so not going to undo.");
    return;
  }
  if (!session_.SlotSelected()) {
    session_.ShowStatus("No curve selected to undo");
    return;
  }
  CurveSlots& curves = session_.Curves();
  CurveSlot& slot = session_.Selected();
  // Exchanged, so a second undo brings the edit back.
  CurvePoints::CopyCurve(slot.UndoCurve, curves.EditCurve);
  CurvePoints::CopyCurve(slot.Curve, slot.UndoCurve);
  CurvePoints::CopyCurve(curves.EditCurve, slot.Curve);
  session_.SetUpBezier(BezierKind::kSlot);
  session_.SelectSlotCurve();
}

bool CurveCommands::CopyCurveToClipboard() {
  if (!session_.SlotSelected()) {
    session_.ShowMessage("No curve selected, please select \"Set curve\" in the points form");
    return false;
  }
  CurveSlot& slot = session_.Selected();
  if (!Defined(slot.Curve)) {
    session_.ShowStatus("The " + slot.Name +
                        " is not defined at present. No curve copied to Quorl clipboard.");
    return false;
  }
  CurvePoints::CopyCurve(slot.Curve, session_.Curves().ClipboardCurve);
  session_.ShowStatus("Curve copied to Quorl clipboard.");
  return true;
}

void CurveCommands::CutCurve() {
  // Only what went into the clipboard is taken away: a cut that copied
  // nothing leaves the curve where it is, with Copy's message on show.
  if (!CopyCurveToClipboard()) return;
  ResetCurve();
  session_.ShowStatus("Curve cut and copied to Quorl clipboard");
}

void CurveCommands::PasteCurve() {
  const CurvePoints& clipboard = session_.Curves().ClipboardCurve;
  if (!session_.SlotSelected()) {
    session_.ShowMessage(Defined(clipboard) ? kNoTargetSelected : kClipboardEmpty);
    return;
  }
  if (!Defined(clipboard)) {
    session_.ShowStatus(kClipboardEmpty);
    return;
  }
  session_.PutCurveToUndo(session_.SelectedSlot);
  CurvePoints::CopyCurve(clipboard, session_.Selected().Curve);
  session_.SetUpBezier(BezierKind::kSlot);
  session_.SelectSlotCurve();
  session_.ShowStatus("Curve pasted from Quorl clipboard.");
}

void CurveCommands::ResetAllCurvesCommand() {
  CurveSlots& curves = session_.Curves();
  for (int i = 0; i < kCurveCount; ++i) {
    session_.PutCurveToUndo(i);
    curves[i].Curve.Empty();
    session_.ShowSlotMark(i, false, false);
  }
  // A curve on display comes off the canvas. Without one the picture is
  // left alone: resetting curves must not wipe an unsaved picture.
  if (session_.State().canvas.MultiplierMode) session_.RestorePicture();
  session_.ShowStatus("All curves (excluding clipboard) reset.");
}

void CurveCommands::ShowCurve() {
  if (!session_.SlotSelected()) {
    session_.ShowStatus("No curve selected!");
    return;
  }
  session_.ShowSelectedCurve();
}

// --- Points window

void CurveCommands::SelectSlot(int slot) {
  if (slot < 0 || slot >= kCurveCount) return;
  session_.SelectedSlot = slot;
  session_.ShowSelectedCurve();
}

void CurveCommands::ResetCurve() {
  session_.SaveCanvasIfNoCurveShown();
  Canvas& canvas = session_.State().canvas;
  canvas.KeepPicture = true;
  CurveSlot& slot = session_.Selected();
  session_.ShowStatus("Clearing the " + slot.Name + " bezier");
  session_.PutCurveToUndo(session_.SelectedSlot);
  slot.Curve.Empty();
  session_.UnmarkCurve(session_.SelectedSlot);
  if (canvas.MultiplierMode) session_.RedrawWithoutCurve();
  canvas.KeepPicture = false;
}

void CurveCommands::ReverseSelectedCurve() {
  session_.SaveCanvasIfNoCurveShown();
  if (!session_.SlotSelected()) {
    session_.ShowMessage("There is no curve selected at present.");
    return;
  }
  CurveSlot& slot = session_.Selected();
  if (!Defined(slot.Curve)) {
    session_.ShowMessage(slot.Name + "is not defined at present.");
    return;
  }
  CurvePoints& edit = session_.Curves().EditCurve;
  CurvePoints::ReverseCurve(slot.Curve, edit);
  CurvePoints::CopyCurve(edit, slot.Curve);
  session_.SetUpBezier(BezierKind::kSlot);
  session_.SelectSlotCurve();
  session_.ShowStatus(slot.Name + "reversed.");
}

void CurveCommands::HideCurve() {
  if (!session_.State().canvas.MultiplierMode) {
    session_.ShowStatus("No curve to hide.");
    return;
  }
  session_.RestorePicture();
  session_.ShowStatus("");
}

// --- modes

void CurveCommands::SetRotationPoints() {
  session_.Mode = RightButtonMode::RotationPoints;
  session_.ShowStatus(
      "Right clicking on the image will set the start and end points for the center of rotation");
}

void CurveCommands::SetPathPoints() {
  session_.Mode = RightButtonMode::PathPoints;
  session_.ShowStatus("Right clicking on the image will set the start and end points for the path");
}

void CurveCommands::DrawMultiplierBezier() {
  session_.Mode = RightButtonMode::Curve;
  session_.ShowStatus("Drawing with the right mouse button on the image will set the selected curve");
}

void CurveCommands::ToggleMoveRotationCentre() {
  SetMoveRotation(!session_.Params().MoveRotation);
}

void CurveCommands::SetMoveRotation(bool on) {
  session_.Params().MoveRotation = on;
  session_.ShowStatus(on ? "Moving center of rotation between Rotate A and Rotate B"
                         : "Point A will be the only center of rotation");
}

void CurveCommands::ToggleStartAndEndBeziers() {
  session_.ShowStatus(session_.Params().QuorlPointsUseStartAndEndBezier
                          ? "Drawing will use the start and end curves"
                          : "Drawing will not use the start and end curves");
}

void CurveCommands::ToggleStartAsEndBezier() {
  session_.ShowStatus(session_.Params().QuorlPointsUseStartAsEnd
                          ? "Drawing will use the start curve for the end curve also"
                          : "Drawing will not use the start curve for the end curve");
}

// --- curve files

void CurveCommands::SaveCurveFile() {
  if (!session_.SlotSelected()) {
    session_.ShowMessage("You must have a curve selected in the Points form.");
    return;
  }
  const int s = session_.SelectedSlot;
  const CurvePoints& curve = session_.Selected().Curve;
  if (!Defined(curve)) {
    session_.ShowMessage("The currently selected curve is not defined at the moment.");
    return;
  }
  const std::string chosen =
      dialogs_.SaveFile("Save your text or word file", session_.State().layout.SaveDir,
                        ProposedCurveFileName(s), "Quorl path file", "*.curve", "curve");
  if (chosen.empty()) {
    session_.ShowStatus("Saving curve was cancelled.");
    return;
  }
  // The writer drops quotes and blanks from the file name; the file that
  // would be overwritten is the one under that name.
  const std::string written = CurveFileNameAsWritten(chosen);
  if (FileExists(written) && !dialogs_.AskYesNo("Do you want to overwrite \n" + written + "?")) {
    session_.ShowStatus("Curve not saved.");
    return;
  }
  SaveCurveToFile(curve, chosen);
}

void CurveCommands::SaveCurveToFile(const CurvePoints& curve, const std::string& fileName) {
  if (!session_.SlotSelected()) {
    session_.ShowMessage(kNoBezierSelected);
    return;
  }
  const std::string folder = FolderOfFile(fileName);
  if (!folder.empty() && !FolderExists(folder)) session_.State().layout.SaveDir = DefaultPictureFolder();
  if (!Defined(curve)) {
    session_.ShowStatus("No curve to save");
    return;
  }
  std::string error;
  const CurveSaveOutcome outcome = curve.Save(fileName, &error);
  if (outcome == CurveSaveOutcome::Written) {
    session_.ShowStatus("Saved " + CurveFileNameAsWritten(fileName));
  } else {
    session_.ShowMessage("SaveCurveToFile: " +
                         (error.empty() ? std::string("the file was not written") : error));
  }
}

void CurveCommands::LoadCurveFromFile() {
  if (!session_.SlotSelected()) {
    session_.ShowMessage(kNoBezierSelected);
    return;
  }
  CurveSlot& slot = session_.Selected();
  WindowLayout& layout = session_.State().layout;
  const std::string chosen =
      dialogs_.OpenFile("Load path for " + slot.Name, layout.LoadDir, "Quorl paths (.curve)", "*.curve");
  if (!chosen.empty()) {
    std::string error;
    const CurveLoadOutcome outcome = slot.Curve.Load(chosen, &error);
    switch (outcome) {
      case CurveLoadOutcome::Loaded:
        session_.SetUpBezier(BezierKind::kSlot);
        session_.ShowStatus("Loaded " + chosen);
        layout.LoadDir = FolderOfFile(chosen);
        break;
      case CurveLoadOutcome::Malformed:
        // The emptied curve reads as no curve.
        session_.ShowMessage(error);
        session_.SetUpBezier(BezierKind::kSlot);
        layout.LoadDir = FolderOfFile(chosen);
        break;
      case CurveLoadOutcome::Unreadable:
        session_.ShowMessage("LoadCurveFromFile: " + error);
        break;
      case CurveLoadOutcome::NoFile:
        break;
    }
  }
  session_.ShowSelectedCurve();
}

}  // namespace quorl
