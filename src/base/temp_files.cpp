#include "base/temp_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace quorl {
namespace {

constexpr int kSlots = 256;
constexpr std::size_t kPathBytes = PATH_MAX;

// 0: free, 1: being filled or emptied, 2: holds a live name.
struct Slot {
  std::atomic<int> state{0};
  char path[kPathBytes];
};

Slot g_slots[kSlots];
std::atomic<bool> g_installed{false};
struct sigaction g_previous[2];

int Register(const std::string& path) {
  if (path.size() >= kPathBytes) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (g_slots[i].state.compare_exchange_strong(expected, 1)) {
      std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
      g_slots[i].state.store(2);
      return i;
    }
  }
  // A full table only loses the clean-up on a signal; the day-old sweep
  // still catches the file.
  return -1;
}

void Unregister(const std::string& path) {
  for (int i = 0; i < kSlots; ++i) {
    int expected = 2;
    if (g_slots[i].state.load() == 2 && std::strcmp(g_slots[i].path, path.c_str()) == 0 &&
        g_slots[i].state.compare_exchange_strong(expected, 1)) {
      g_slots[i].state.store(0);
      return;
    }
  }
}

void OnSignal(int signal) {
  for (int i = 0; i < kSlots; ++i) {
    if (g_slots[i].state.load() == 2) ::unlink(g_slots[i].path);
  }
  const int which = signal == SIGINT ? 0 : 1;
  struct sigaction& previous = g_previous[which];
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN && !(previous.sa_flags & SA_SIGINFO)) {
    previous.sa_handler(signal);
    return;
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

// NAME.tmpXXXXXX as mkstemp makes it.
bool LooksLikeOurTemporary(const char* name) {
  const std::size_t length = std::strlen(name);
  if (length < 11) return false;
  const char* tail = name + length - 10;
  if (std::strncmp(tail, ".tmp", 4) != 0) return false;
  for (int i = 4; i < 10; ++i) {
    const char c = tail[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

int CreateTempFileFor(const std::string& target, std::string& tempPath, std::string* error) {
  tempPath = target + ".tmpXXXXXX";
  // Registered before it exists, so no moment passes with a file on disk
  // that a signal would leave behind.
  const int slot = Register(tempPath);
  const int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
  if (slot >= 0) {
    // mkostemp filled in the X's: record the real name.
    g_slots[slot].state.store(1);
    std::memcpy(g_slots[slot].path, tempPath.c_str(), tempPath.size() + 1);
    g_slots[slot].state.store(2);
  }
  if (fd < 0) {
    const int saved = errno;
    if (slot >= 0) g_slots[slot].state.store(0);
    if (error) *error = target + ": " + std::strerror(saved);
    return -1;
  }
  return fd;
}

void ForgetTempFile(const std::string& tempPath) {
  Unregister(tempPath);
}

void RemoveTempFile(const std::string& tempPath) {
  ::unlink(tempPath.c_str());
  Unregister(tempPath);
}

void InstallTempFileCleanup() {
  bool expected = false;
  if (!g_installed.compare_exchange_strong(expected, true)) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, &g_previous[0]);
  ::sigaction(SIGTERM, &action, &g_previous[1]);
}

int RemoveOldTemporaries(const std::string& folder, std::chrono::seconds age) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  const std::time_t now = std::time(nullptr);
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (!LooksLikeOurTemporary(entry->d_name)) continue;
    struct stat info;
    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::getuid()) continue;
    if (now - info.st_mtime < static_cast<std::time_t>(age.count())) continue;
    if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

int LiveTempFileCount() {
  int count = 0;
  for (const Slot& slot : g_slots) count += slot.state.load() == 2 ? 1 : 0;
  return count;
}

}  // namespace quorl
