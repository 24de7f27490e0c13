#include "base/paths.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorl {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::string(v) : fallback;
}

std::string Home() {
  return EnvOr("HOME", "/tmp");
}

std::string WithSlash(std::string s) {
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

}  // namespace

std::string ProgramSettingsFile() {
  if (const char* v = std::getenv("QUORL_SETTINGS"); v && *v) return v;
  return WithSlash(EnvOr("XDG_CONFIG_HOME", Home() + "/.config")) + "quorl/quorl.ini";
}

std::string PicturesFolderFromUserDirs(const std::string& fileText, const std::string& home) {
  std::istringstream lines(fileText);
  std::string found;
  for (std::string line; std::getline(lines, line);) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const std::string key = "XDG_PICTURES_DIR=";
    if (line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    for (const std::string home_word : {"$HOME", "${HOME}"}) {
      if (value.compare(0, home_word.size(), home_word) == 0) {
        value = home + value.substr(home_word.size());
        break;
      }
    }
    // Anything else (a relative path, another variable) is not a folder
    // the file may name.
    if (!value.empty() && value.front() == '/') found = value;
  }
  return found;
}

std::string DefaultPictureFolder() {
  if (const char* v = std::getenv("XDG_PICTURES_DIR"); v && *v) return WithSlash(v) + "Quorl/";
  const std::string configHome = EnvOr("XDG_CONFIG_HOME", Home() + "/.config");
  std::ifstream file(WithSlash(configHome) + "user-dirs.dirs");
  if (file) {
    std::ostringstream text;
    text << file.rdbuf();
    const std::string folder = PicturesFolderFromUserDirs(text.str(), Home());
    if (!folder.empty()) return WithSlash(folder) + "Quorl/";
  }
  return Home() + "/Pictures/Quorl/";
}

std::string ProgramStateFolder() {
  if (const char* v = std::getenv("QUORL_STATE_DIR"); v && *v) return WithSlash(v);
  return WithSlash(EnvOr("XDG_STATE_HOME", Home() + "/.local/state")) + "quorl/";
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      const std::string part = path.substr(0, i);
      if (!FolderExists(part)) ::mkdir(part.c_str(), 0777);
    }
  }
  return FolderExists(path);
}

}  // namespace quorl
