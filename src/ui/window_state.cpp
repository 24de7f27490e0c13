#include "ui/window_state.h"

#include <QFileInfo>

#include "settings/ini_file.h"

namespace quorl {

namespace {

constexpr const char* kSection = "window";

std::optional<int> IntValue(const IniFile& ini, const char* key) {
  const std::optional<std::string> text = ini.Find(kSection, key);
  if (!text) return std::nullopt;
  bool ok = false;
  const int value = QString::fromStdString(*text).trimmed().toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

void WindowState::AddRecentFile(const QString& file) {
  const QString path = QFileInfo(file).absoluteFilePath();
  recentFiles.removeAll(path);
  recentFiles.prepend(path);
  DropMissingFiles();
  while (recentFiles.size() > kMaxRecentFiles) recentFiles.removeLast();
}

void WindowState::DropMissingFiles() {
  recentFiles.removeIf([](const QString& file) { return !QFileInfo(file).isFile(); });
}

WindowState ReadWindowState(const std::string& settingsPath) {
  WindowState state;
  IniFile ini;
  if (!ini.Load(settingsPath)) return state;
  for (int i = 1; i <= WindowState::kMaxRecentFiles; ++i) {
    const std::string key = "RecentFile" + std::to_string(i);
    if (const std::optional<std::string> file = ini.Find(kSection, key); file && !file->empty())
      state.recentFiles << QString::fromStdString(*file);
  }
  state.recentFiles.removeDuplicates();
  if (const std::optional<int> ask = IntValue(ini, "AskSaveFirst")) state.askSaveFirst = *ask != 0;
  const std::optional<int> left = IntValue(ini, "MainLeft"), top = IntValue(ini, "MainTop"),
                           width = IntValue(ini, "MainWidth"), height = IntValue(ini, "MainHeight");
  // A size no window can have is not a remembered place.
  if (left && top && width && height && *width >= 100 && *height >= 100 && *width <= 20000 &&
      *height <= 20000)
    state.mainGeometry = QRect(*left, *top, *width, *height);
  return state;
}

bool WriteWindowState(const WindowState& state, const std::string& settingsPath) {
  IniFile ini;
  if (!ini.Load(settingsPath)) return false;
  for (int i = 1; i <= WindowState::kMaxRecentFiles; ++i) {
    const std::string key = "RecentFile" + std::to_string(i);
    ini.Set(kSection, key, i <= state.recentFiles.size() ? state.recentFiles[i - 1].toStdString() : "");
  }
  ini.Set(kSection, "AskSaveFirst", state.askSaveFirst ? "1" : "0");
  if (!state.mainGeometry.isNull()) {
    ini.Set(kSection, "MainLeft", std::to_string(state.mainGeometry.x()));
    ini.Set(kSection, "MainTop", std::to_string(state.mainGeometry.y()));
    ini.Set(kSection, "MainWidth", std::to_string(state.mainGeometry.width()));
    ini.Set(kSection, "MainHeight", std::to_string(state.mainGeometry.height()));
  }
  return ini.Save(settingsPath);
}

}  // namespace quorl
