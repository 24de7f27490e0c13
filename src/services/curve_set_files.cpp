#include "services/curve_set_files.h"

#include <algorithm>

#include "base/host.h"
#include "base/paths.h"
#include "curves/curve_file_names.h"
#include "curves/curve_slots.h"

namespace quorl {

CurveFilesLoadReport LoadCurvesBesideSettings(CurveSlots& slots, const std::string& settingsPath, Host& host,
                                              const std::vector<std::string>* listed) {
  CurveFilesLoadReport report;
  slots.ResetAllCurves();
  const bool wasForced = slots.UseForcedCurveIndex;
  const int wasIndex = slots.ForcedCurveIndex;
  slots.UseForcedCurveIndex = true;
  for (int i = 0; i < kCurveCount; ++i) {
    const std::string name = SettingsCurveFileName(settingsPath, i);
    if (listed) {
      if (std::find(listed->begin(), listed->end(), ProposedCurveFileName(i)) == listed->end()) continue;
      if (!FileExists(name)) {
        report.Missing.push_back(name);
        continue;
      }
    }
    if (!FileExists(name)) continue;
    std::string error;
    const CurveLoadOutcome outcome = slots[i].Curve.Load(name, &error);
    if (outcome == CurveLoadOutcome::Unreadable) {
      if (report.Error.empty()) report.Error = error;
      continue;
    }
    if (outcome == CurveLoadOutcome::Malformed) host.ShowMessage(error);
    slots.ForcedCurveIndex = i;
    slots.SetUpBezier(BezierKind::kSlot, i);
    report.FoundSlots.push_back(i);
  }
  slots.UseForcedCurveIndex = wasForced;
  slots.ForcedCurveIndex = wasIndex;
  return report;
}

bool SaveCurvesBesidePicture(const CurveSlots& slots, const std::string& base, std::string* error) {
  for (int i = 0; i < kCurveCount; ++i) {
    if (slots[i].Curve.Save(PictureCurveFileName(base, i), error) == CurveSaveOutcome::Failed) return false;
  }
  if (slots.AnimStartPathCurve.Save(PictureAnimStartCurveFileName(base), error) == CurveSaveOutcome::Failed)
    return false;
  return slots.AnimEndPathCurve.Save(PictureAnimEndCurveFileName(base), error) != CurveSaveOutcome::Failed;
}

}  // namespace quorl
