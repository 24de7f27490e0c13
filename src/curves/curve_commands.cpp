#include "curves/curve_commands.h"

#include "curves/curve_file_names.h"
#include "engine/parameter_set.h"
#include "engine/program_state.h"
#include "settings/paths.h"

namespace quorl {

namespace {

constexpr const char* kNoTargetSelected = "No target curve selected, please select \"Set curve\" in the points form";
constexpr const char* kClipboardEmpty = "There is no curve in the Quorl clipboard at present. No curve pasted.";
constexpr const char* kNoBezierSelected = "You must have a bezier selected in the Points form.";

bool Defined(const kCurve& curve) { return curve.GetLength() >= kDefinedCurvePoints; }

}  // namespace

std::string FolderOfFile(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

CurveCommands::CurveCommands(CurveEditSession& session, CurveFileDialogs& dialogs)
    : session_(session), dialogs_(dialogs) {}

// --- Edit menu

void CurveCommands::Undocurveedit1Click() {
  if (!session_.State().canvas.MultiplierMode) {
    session_.Spammer("Not displaying a curve, so not going to undo.");
    return;
  }
  if (!session_.SlotSelected()) {
    session_.Spammer("No curve selected to undo");
    return;
  }
  CurveSlots& curves = session_.Curves();
  CurveSlot& slot = session_.Selected();
  // Exchanged, so a second undo brings the edit back.
  kCurve::CopyCurve(slot.UndoCurve, curves.EditCurve);
  kCurve::CopyCurve(slot.Curve, slot.UndoCurve);
  kCurve::CopyCurve(curves.EditCurve, slot.Curve);
  session_.SetUpBezier(BezierKindSlot);
  session_.btnDrawMultiplierClick();
}

bool CurveCommands::CopyCurve1Click() {
  if (!session_.SlotSelected()) {
    session_.ShowMessage("No curve selected, please select \"Set curve\" in the points form");
    return false;
  }
  CurveSlot& slot = session_.Selected();
  if (!Defined(slot.Curve)) {
    session_.Spammer("The " + slot.Name + " is not defined at present. No curve copied to Quorl clipboard.");
    return false;
  }
  kCurve::CopyCurve(slot.Curve, session_.Curves().ClipboardCurve);
  session_.Spammer("Curve copied to Quorl clipboard.");
  return true;
}

void CurveCommands::CutCurve1Click() {
  // Only what went into the clipboard is taken away: a cut that copied
  // nothing leaves the curve where it is, with Copy's message on show.
  if (!CopyCurve1Click()) return;
  btnClearMultiplierClick();
  session_.Spammer("Curve cut and copied to Quorl clipboard");
}

void CurveCommands::PasteCurve1Click() {
  const kCurve& clipboard = session_.Curves().ClipboardCurve;
  if (!session_.SlotSelected()) {
    session_.ShowMessage(Defined(clipboard) ? kNoTargetSelected : kClipboardEmpty);
    return;
  }
  if (!Defined(clipboard)) {
    session_.Spammer(kClipboardEmpty);
    return;
  }
  session_.PutCurveToUndo(session_.SelectedSlot);
  kCurve::CopyCurve(clipboard, session_.Selected().Curve);
  session_.SetUpBezier(BezierKindSlot);
  session_.btnDrawMultiplierClick();
  session_.Spammer("Curve pasted from Quorl clipboard.");
}

void CurveCommands::Resetallcurves1Click() {
  CurveSlots& curves = session_.Curves();
  for (int i = 0; i < CurveCount; ++i) {
    session_.PutCurveToUndo(i);
    curves[i].Curve.Empty();
    session_.ShowSlotMark(i, false, false);
  }
  // A curve on display comes off the canvas. Without one the picture is
  // left alone: resetting curves must not wipe an unsaved picture.
  if (session_.State().canvas.MultiplierMode) session_.RestorePicture();
  session_.Spammer("All curves (excluding clipboard) reset.");
}

void CurveCommands::ShowCurve1Click() {
  if (!session_.SlotSelected()) {
    session_.Spammer("No curve selected!");
    return;
  }
  session_.btnDrawMultiplierActualClick();
}

// --- Points window

void CurveCommands::cbMultiplierBeziersChange(int slot) {
  if (slot < 0 || slot >= CurveCount) return;
  session_.SelectedSlot = slot;
  session_.btnDrawMultiplierActualClick();
}

void CurveCommands::btnClearMultiplierClick() {
  session_.SaveCanvasIfNoCurveShown();
  Canvas& canvas = session_.State().canvas;
  canvas.KeepPicture = true;
  CurveSlot& slot = session_.Selected();
  session_.Spammer("Clearing the " + slot.Name + " bezier");
  session_.PutCurveToUndo(session_.SelectedSlot);
  slot.Curve.Empty();
  session_.UnmarkCurve(session_.SelectedSlot);
  if (canvas.MultiplierMode) session_.RedrawWithoutCurve();
  canvas.KeepPicture = false;
}

void CurveCommands::btnReverseCurveClick() {
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
  kCurve& edit = session_.Curves().EditCurve;
  kCurve::ReverseCurve(slot.Curve, edit);
  kCurve::CopyCurve(edit, slot.Curve);
  session_.SetUpBezier(BezierKindSlot);
  session_.btnDrawMultiplierClick();
  session_.Spammer(slot.Name + "reversed.");
}

void CurveCommands::btnHideCurveClick() {
  if (!session_.State().canvas.MultiplierMode) {
    session_.Spammer("No curve to hide.");
    return;
  }
  session_.RestorePicture();
  session_.Spammer("");
}

// --- modes

void CurveCommands::Setrotationpoints1Click() {
  session_.Mode = RightButtonMode::RotationPoints;
  session_.Spammer("Right clicking on the image will set the start and end points for the center of rotation");
}

void CurveCommands::Setpathpoints1Click() {
  session_.Mode = RightButtonMode::PathPoints;
  session_.Spammer("Right clicking on the image will set the start and end points for the path");
}

void CurveCommands::DrawMultiplierBezier1Click() {
  session_.Mode = RightButtonMode::Curve;
  session_.Spammer("Drawing with the right mouse button on the image will set the selected curve");
}

void CurveCommands::Moverotationcenterbetweenpoints1Click() { SetMoveRotation(!session_.Params().MoveRotation); }

void CurveCommands::SetMoveRotation(bool on) {
  session_.Params().MoveRotation = on;
  session_.Spammer(on ? "Moving center of rotation between Rotate A and Rotate B"
                      : "Point A will be the only center of rotation");
}

void CurveCommands::DrawwithStartandEndBeziers1Click() {
  session_.Spammer(session_.Params().QuorlPointsUseStartAndEndBezier
                       ? "Drawing will use the start and end curves"
                       : "Drawing will not use the start and end curves");
}

void CurveCommands::UseStartBezierasEndBezier1Click() {
  session_.Spammer(session_.Params().QuorlPointsUseStartAsEnd
                       ? "Drawing will use the start curve for the end curve also"
                       : "Drawing will not use the start curve for the end curve");
}

// --- curve files

void CurveCommands::Savecurvefile1Click() {
  if (!session_.SlotSelected()) {
    session_.ShowMessage("You must have a curve selected in the Points form.");
    return;
  }
  const int s = session_.SelectedSlot;
  const kCurve& curve = session_.Selected().Curve;
  if (!Defined(curve)) {
    session_.ShowMessage("The currently selected curve is not defined at the moment.");
    return;
  }
  const std::string chosen = dialogs_.SaveFile("Save your text or word file", session_.Params().SaveDir,
                                               ProposedCurveFileName(s), "Quorl path file", "*.curve", "curve");
  if (chosen.empty()) {
    session_.Spammer("Saving curve was cancelled.");
    return;
  }
  // The writer drops quotes and blanks from the file name; the file that
  // would be overwritten is the one under that name.
  const std::string written = CurveFileNameAsWritten(chosen);
  if (FileExists(written) && !dialogs_.AskYesNo("Do you want to overwrite \n" + written + "?")) {
    session_.Spammer("Curve not saved.");
    return;
  }
  btnSavePathToFileClick(curve, chosen);
}

void CurveCommands::btnSavePathToFileClick(const kCurve& curve, const std::string& fileName) {
  if (!session_.SlotSelected()) {
    session_.ShowMessage(kNoBezierSelected);
    return;
  }
  ParameterSet& params = session_.Params();
  const std::string folder = FolderOfFile(fileName);
  if (!folder.empty() && !FolderExists(folder)) params.SaveDir = DefaultPictureFolder();
  if (!Defined(curve)) {
    session_.Spammer("No curve to save");
    return;
  }
  std::string error;
  const CurveSaveOutcome outcome = curve.Spam(fileName, &error);
  if (outcome == CurveSaveOutcome::Written) {
    session_.Spammer("Saved " + CurveFileNameAsWritten(fileName));
  } else {
    session_.ShowMessage("btnSavePathToFileClick: " + (error.empty() ? std::string("the file was not written") : error));
  }
}

void CurveCommands::btnLoadPathFromFileClick() {
  if (!session_.SlotSelected()) {
    session_.ShowMessage(kNoBezierSelected);
    return;
  }
  CurveSlot& slot = session_.Selected();
  ParameterSet& params = session_.Params();
  const std::string chosen =
      dialogs_.OpenFile("Load path for " + slot.Name, params.LoadDir, "Quorl paths (.curve)", "*.curve");
  if (!chosen.empty()) {
    std::string error;
    const CurveLoadOutcome outcome = slot.Curve.Load(chosen, session_.GetHost(), &error);
    switch (outcome) {
      case CurveLoadOutcome::Loaded:
        session_.SetUpBezier(BezierKindSlot);
        session_.Spammer("Loaded " + chosen);
        params.LoadDir = FolderOfFile(chosen);
        break;
      case CurveLoadOutcome::Malformed:
        // Reported by the reader; the emptied curve reads as no curve.
        session_.SetUpBezier(BezierKindSlot);
        params.LoadDir = FolderOfFile(chosen);
        break;
      case CurveLoadOutcome::Unreadable:
        session_.ShowMessage("btnLoadPathFromFileClick: " + error);
        break;
      case CurveLoadOutcome::NoFile: break;
    }
  }
  session_.btnDrawMultiplierActualClick();
}

}  // namespace quorl
