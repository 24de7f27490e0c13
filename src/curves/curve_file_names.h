// Names of the curve files written beside a saved picture and looked for
// beside an opened settings file. Saving and loading both use these, so the
// two always agree.
#pragma once

#include <string>

namespace quorl {

// The name a curve file really gets: "test.txt" for an empty name; in the
// part after the last "/" double quotes are removed and blanks become "_".
// The folder part is kept as given.
std::string CurveFileNameAsWritten(const std::string& name);

// base + "_" + slot Name + ".curve", as written, for a picture base name
// (folder, program name and time stamp, without extension).
std::string PictureCurveFileName(const std::string& base, int slot);
std::string PictureAnimStartCurveFileName(const std::string& base);  // base + "_anim_start.curve"
std::string PictureAnimEndCurveFileName(const std::string& base);    // base + "_anim_end.curve"

// The slot's curve file beside a settings file: the settings file's folder,
// then its file name with every ".ini" removed, "_", the slot Name, with
// quotes removed and blanks replaced by "_", and ".curve".
// "/p/quorl20240131_14_05_09__123.ini", slot 3 ->
// "/p/quorl20240131_14_05_09__123_Values_-_Radius.curve".
std::string SettingsCurveFileName(const std::string& settingsPath, int slot);

// The file name the save dialog proposes for a slot: Name without quotes,
// blanks as "_" (slot 3: Values_-_Radius).
std::string ProposedCurveFileName(int slot);

}  // namespace quorl
