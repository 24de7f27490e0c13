// Reading and writing the settings file: every key of the key table, in the
// sections "start", the style's own section and "forms".
//
// Window and menu side effects (maximizing, check marks, refreshing the tool
// windows) belong to the window; the reader returns what the window needs.
// The picture's parameters go to a ParameterSet, the windows' geometry and
// the folders to a WindowLayout: the window copies its live geometry into
// the layout before writing.
#pragma once

#include <string>
#include <string_view>

#include "settings/parameter_set.h"
#include "settings/window_layout.h"

namespace quorl {

// The screen the tool windows must stay on. A headless run uses this default.
struct ScreenSize {
  int width = 1920;
  int height = 1080;
};

struct ReadIniOutcome {
  bool maximized = false;  // "QuorlMaximized" was read true
  int maxFormLeft = 0;     // screen width - 50
  int maxFormTop = 0;      // screen height - 50
};

// Loads `style`'s section, "start" and "forms" of `fileName` (empty: the
// program's own settings file) into `params` and `layout`. Missing files, sections, keys
// and unreadable values give the table's defaults; it never fails.
// `params.CurrentStyle` is left as it is: the caller sets it.
ReadIniOutcome ReadIniFile(ParameterSet& params, WindowLayout& layout, const std::string& style,
                           const std::string& fileName, ScreenSize screen = {});
// The same from text held in memory.
ReadIniOutcome ReadIniText(ParameterSet& params, WindowLayout& layout, const std::string& style,
                           std::string_view text, ScreenSize screen = {});

// Stores `params` under `style`, and `layout`, in the program's own settings
// file (empty suffix) or in the file beside a saved picture:
// SaveDir/quorl<suffix>.ini.
// In the latter case a SaveDir that is not an existing folder is first reset
// to the picture folder (and that change is written too). On failure leaves
// the old file as it was, puts "Unable to write to <path>" into *message and
// returns false; the caller tells the user.
bool WriteIniFile(const ParameterSet& params, WindowLayout& layout, const std::string& style,
                  const std::string& suffix, std::string* message = nullptr);
// The same into an explicitly named file.
bool WriteIniFileTo(const ParameterSet& params, const WindowLayout& layout, const std::string& style,
                    const std::string& path, std::string* message = nullptr);
// The settings as the text of a new file.
std::string WriteIniText(const ParameterSet& params, const WindowLayout& layout, const std::string& style);
// The same with the facts of a saved set (the kSavedSetOnly keys): the
// settings file written beside a saved picture.
std::string WriteSavedSetText(const ParameterSet& params, const WindowLayout& layout,
                              const std::string& style);
// What a picture carries inside: a saved set's settings without the window's
// layout and folders, which only locate the author's files, and with source
// and background pictures named by file name alone.
std::string WriteRecipeText(const ParameterSet& params, const std::string& style);
// Reads only the keys that `text` holds; every other value stays as it is
// (opening a recipe changes only the picture's keys).
ReadIniOutcome ReadPresentKeys(ParameterSet& params, const std::string& style, std::string_view text,
                               ScreenSize screen = {});

// The file WriteIniFile uses for `suffix`; may reset layout.SaveDir as above.
std::string SettingsFileForSuffix(WindowLayout& layout, const std::string& suffix);

// "style" of "start" in `fileName` (empty: the program's own file); "sine"
// when the file, the key or its value is missing.
std::string ReadIniCurrentStyle(const std::string& fileName);
// Writes `style` as "style" of "start". On failure returns false and puts
// "Unable to write to <path>" into *message; the caller abandons its command.
bool WriteIniCurrentStyle(const std::string& style, std::string* message = nullptr,
                          const std::string& fileName = {});

// The message of a failed write.
std::string UnableToWriteMessage(const std::string& path);

}  // namespace quorl
