// The curve commands: the Edit menu (undo, cut, copy, paste, reset all,
// show), the Points window's buttons (show, hide, reset, reverse), the mode
// switches of the right mouse button, and saving and loading the selected
// slot's curve through file dialogs.
#pragma once

#include <string>

#include "services/curve_edit_session.h"

namespace quorl {

class CurvePoints;

// The file dialogs and the Yes/No box the curve file commands open.
class CurveFileDialogs {
 public:
  virtual ~CurveFileDialogs() = default;
  // A save dialog starting in `folder` with `proposedName`, offering files
  // matching `pattern` under `filterName` and adding `defaultExtension` to a
  // name without one. It does not ask about overwriting. The chosen file,
  // or an empty string when cancelled.
  virtual std::string SaveFile(const std::string& title, const std::string& folder,
                               const std::string& proposedName, const std::string& filterName,
                               const std::string& pattern, const std::string& defaultExtension) = 0;
  // An open dialog for an existing file; empty when cancelled.
  virtual std::string OpenFile(const std::string& title, const std::string& folder,
                               const std::string& filterName, const std::string& pattern) = 0;
  // A warning box with the buttons Yes and No; true only for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
};

class CurveCommands {
 public:
  CurveCommands(CurveEditSession& session, CurveFileDialogs& dialogs);

  // --- Edit menu
  void UndoCurveEdit();
  void CutCurve();
  // True when a curve went into the clipboard.
  bool CopyCurveToClipboard();
  void PasteCurve();
  void ResetAllCurvesCommand();
  void ShowCurve();

  // --- Points window
  void SelectSlot(int slot);
  void ResetCurve();            // "Reset curve"
  void ReverseSelectedCurve();  // "Reverse"
  void HideCurve();             // "Hide curve"

  // --- the right button's modes and the point switches
  void SetRotationPoints();
  void SetPathPoints();
  void DrawMultiplierBezier();
  // The menu item flips MoveRotation; the Points window's box sets it.
  void ToggleMoveRotationCentre();
  void SetMoveRotation(bool on);
  // Report the Start and End curve switches; they change nothing.
  void ToggleStartAndEndBeziers();
  void ToggleStartAsEndBezier();

  // --- curve files ("Save curve", "Open curve", "Load curve")
  void SaveCurveFile();
  void SaveCurveToFile(const CurvePoints& curve, const std::string& fileName);
  void LoadCurveFromFile();

 private:
  CurveEditSession& session_;
  CurveFileDialogs& dialogs_;
};

// The folder part of a file name, up to and including its last "/" (empty
// when there is none).
std::string FolderOfFile(const std::string& fileName);

}  // namespace quorl
