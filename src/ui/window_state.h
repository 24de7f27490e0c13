// What the window remembers for itself beyond the parameters: recent files,
// whether to ask "Save the picture first?", and the main window's place.
// It lives in a section of its own, "window", in the program's settings
// file; the other sections are never touched by it.
#pragma once

#include <QRect>
#include <QStringList>

namespace quorl {

struct WindowState {
  static constexpr int kMaxRecentFiles = 10;

  QStringList recentFiles;  // newest first
  bool askSaveFirst = true;
  QRect mainGeometry;  // null until the window was placed once

  // Puts `file` first, drops doubles and files that no longer exist, keeps
  // at most kMaxRecentFiles.
  void AddRecentFile(const QString& file);
  // Drops the files that no longer exist.
  void DropMissingFiles();
};

// From `settingsPath` (the program's settings file); defaults for what is
// missing or malformed.
WindowState ReadWindowState(const std::string& settingsPath);
// Into the "window" section of `settingsPath`, keeping everything else.
bool WriteWindowState(const WindowState& state, const std::string& settingsPath);

}  // namespace quorl
