#include "services/curve_set_files.h"

#include <algorithm>

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
  for (int i = 0; i < CurveCount; ++i) {
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
    if (slots[i].Curve.Load(name, host, &error) == CurveLoadOutcome::Unreadable) {
      if (report.Error.empty()) report.Error = error;
      continue;
    }
    slots.ForcedCurveIndex = i;
    slots.SetUpBezier(BezierKindSlot, i, host);
    report.FoundSlots.push_back(i);
  }
  slots.UseForcedCurveIndex = wasForced;
  slots.ForcedCurveIndex = wasIndex;
  return report;
}

bool SaveCurvesBesidePicture(const CurveSlots& slots, const std::string& base, std::string* error) {
  for (int i = 0; i < CurveCount; ++i) {
    if (slots[i].Curve.Spam(PictureCurveFileName(base, i), error) == CurveSaveOutcome::Failed) return false;
  }
  if (slots.AnimStartPathCurve.Spam(PictureAnimStartCurveFileName(base), error) == CurveSaveOutcome::Failed)
    return false;
  return slots.AnimEndPathCurve.Spam(PictureAnimEndCurveFileName(base), error) != CurveSaveOutcome::Failed;
}

}  // namespace quorl
