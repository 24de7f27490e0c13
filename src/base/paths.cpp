#include "base/paths.h"

#include <sys/stat.h>

#include <cstdlib>

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

std::string DefaultPictureFolder() {
  return WithSlash(EnvOr("XDG_PICTURES_DIR", Home() + "/Pictures")) + "Quorl/";
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
