// All curve files of a picture at once: written beside a saved picture,
// loaded beside an opened settings file.
#pragma once

#include <string>
#include <vector>

namespace quorl {

class Host;
class CurveSlots;

struct CurveFilesLoadReport {
  std::vector<int> FoundSlots;       // slots whose file was there, in index order
  std::string Error;                 // the first file that could not be read, if any
  std::vector<std::string> Missing;  // listed files that are not there
};

// Resets every slot (with undo copies), then loads each slot's curve file
// found beside the settings file (SettingsCurveFileName) and sets up its
// Bezier. Missing files are skipped silently; a malformed one is reported
// through host and leaves its slot empty; an unreadable one is named in
// Error and the others are still loaded. The animation paths are not read.
// With `listed` (the SavedCurves of a saved set), exactly the listed files
// are loaded, and a listed file that is not there is named in Missing.
CurveFilesLoadReport LoadCurvesBesideSettings(CurveSlots& slots, const std::string& settingsPath, Host& host,
                                              const std::vector<std::string>* listed = nullptr);

// Writes every slot's Curve and the two animation path curves under the
// picture's base name (PictureCurveFileName and friends). Curves of fewer
// than two points get no file. Stops at the first file that cannot be
// written (files already written stay) and returns false with the reason.
bool SaveCurvesBesidePicture(const CurveSlots& slots, const std::string& base, std::string* error = nullptr);

}  // namespace quorl
