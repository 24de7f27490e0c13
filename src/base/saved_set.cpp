#include "base/saved_set.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/temp_files.h"

namespace quorl {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string Reason(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

bool WriteAll(int fd, const std::string& bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// The lock on a reservation, held while the set is written.
class Reservation {
 public:
  ~Reservation() { Release(); }

  // 1: reserved; 0: the name is taken (the reservation exists); -1: error.
  int Take(const std::string& path, const std::vector<SetFile>& files, std::string& error) {
    for (int tries = 0; tries < 100; ++tries) {
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
      if (fd < 0) {
        if (errno == EEXIST) return 0;
        error = Reason(path, errno);
        return -1;
      }
      // A cleaner may have caught the file between open and lock and
      // removed it: then it is not ours, and we try again.
      ::flock(fd, LOCK_EX);
      struct stat mine, linked;
      if (::fstat(fd, &mine) == 0 && ::lstat(path.c_str(), &linked) == 0 && mine.st_ino == linked.st_ino &&
          mine.st_dev == linked.st_dev) {
        std::string list;
        for (const SetFile& f : files) list += f.suffix + "\n";
        if (!WriteAll(fd, list)) {
          error = Reason(path, errno);
          ::unlink(path.c_str());
          ::close(fd);
          return -1;
        }
        fd_ = fd;
        path_ = path;
        return 1;
      }
      ::close(fd);
    }
    error = path + ": could not be reserved";
    return -1;
  }

  void Release() {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
  std::string path_;
};

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Removes the set of one abandoned reservation, which we hold locked.
void RemoveAbandonedSet(const std::string& folder, const std::string& reservationName, int fd) {
  const std::string base =
      Join(folder, reservationName.substr(0, reservationName.size() - std::strlen(kReservationSuffix)));
  std::string list;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && list.size() < (1u << 20))
    list.append(buffer, static_cast<std::size_t>(n));
  std::vector<std::string> suffixes;
  for (std::size_t at = 0; at < list.size();) {
    const std::size_t end = list.find('\n', at);
    if (end == std::string::npos) break;
    const std::string suffix = list.substr(at, end - at);
    // Only names of this set in this folder.
    if (!suffix.empty() && suffix.find('/') == std::string::npos) suffixes.push_back(suffix);
    at = end + 1;
  }
  // The last file completes the set: a set that has it is kept whole.
  const bool complete = !suffixes.empty() && Exists(base + suffixes.back());
  if (!complete) {
    for (const std::string& suffix : suffixes) ::unlink((base + suffix).c_str());
  }
}

}  // namespace

int RemoveIncompleteSets(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  std::vector<std::string> reservations;
  const std::size_t suffixLength = std::strlen(kReservationSuffix);
  while (const dirent* entry = ::readdir(dir)) {
    const std::size_t length = std::strlen(entry->d_name);
    if (length > suffixLength && std::strcmp(entry->d_name + length - suffixLength, kReservationSuffix) == 0)
      reservations.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  int removed = 0;
  for (const std::string& name : reservations) {
    const std::string path = Join(folder, name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened, linked;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::lstat(path.c_str(), &linked) == 0 && opened.st_ino == linked.st_ino) {
      RemoveAbandonedSet(folder, name, fd);
      ::unlink(path.c_str());
      ++removed;
    }
    ::close(fd);
  }
  return removed;
}

SetWriteResult WriteFileSet(const std::string& folder, const SetNaming& naming,
                            const std::vector<SetFile>& files) {
  SetWriteResult result;
  RemoveIncompleteSets(folder);
  RemoveOldTemporaries(folder);

  // 1. Reserve a name that no file of the new set stands on.
  Reservation reservation;
  const bool fixed = naming.existing != ExistingSet::NextName;
  const int attempts = fixed ? 1 : naming.attempts;
  bool reserved = false;
  for (int attempt = 0; attempt < attempts && !reserved; ++attempt) {
    const std::string base = Join(folder, naming.candidate(attempt));
    result.base = base;
    std::string error;
    const int taken = reservation.Take(base + kReservationSuffix, files, error);
    if (taken < 0) {
      result.error = error;
      return result;
    }
    if (taken == 0) {
      if (fixed) {
        result.error = base + ": is being saved by another run";
        return result;
      }
      continue;
    }
    std::string inUse;
    for (const SetFile& f : files) {
      if (Exists(base + f.suffix)) {
        inUse = base + f.suffix;
        break;
      }
    }
    if (inUse.empty()) {
      reserved = true;
      break;
    }
    if (naming.existing == ExistingSet::Overwrite) {
      // The old picture goes first, so that a set interrupted from here on
      // counts as incomplete instead of pairing old and new files.
      ::unlink((base + files.back().suffix).c_str());
      reserved = true;
      break;
    }
    reservation.Release();
    if (naming.existing == ExistingSet::Skip) {
      result.outcome = SetWriteResult::Outcome::Skipped;
      return result;
    }
    if (naming.existing == ExistingSet::Refuse) {
      result.outcome = SetWriteResult::Outcome::Exists;
      result.error = inUse + " exists already";
      return result;
    }
  }
  if (!reserved) {
    result.error = folder + ": no free name for the picture";
    return result;
  }

  // 2. Every file to a temporary name.
  std::vector<std::string> temps;
  const auto dropTemps = [&temps] {
    for (const std::string& t : temps) RemoveTempFile(t);
  };
  const mode_t mask = ::umask(0);
  ::umask(mask);
  for (const SetFile& f : files) {
    std::string temp, error;
    const int fd = CreateTempFileFor(result.base + f.suffix, temp, &error);
    if (fd < 0) {
      dropTemps();
      result.error = error;
      return result;
    }
    temps.push_back(temp);
    bool ok = WriteAll(fd, f.bytes);
    int saved = errno;
    if (ok) {
      ::fchmod(fd, 0666 & ~mask);
      ok = ::fsync(fd) == 0;
      saved = errno;
    }
    if (::close(fd) != 0 && ok) {
      ok = false;
      saved = errno;
    }
    if (!ok) {
      dropTemps();
      result.error = Reason(result.base + f.suffix, saved);
      return result;
    }
  }

  // 3. Into place, the completing file last.
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string target = result.base + files[i].suffix;
    if (std::rename(temps[i].c_str(), target.c_str()) != 0) {
      const int saved = errno;
      for (std::size_t k = 0; k < i; ++k) ::unlink((result.base + files[k].suffix).c_str());
      for (std::size_t k = i; k < files.size(); ++k) RemoveTempFile(temps[k]);
      result.error = Reason(target, saved);
      return result;
    }
    ForgetTempFile(temps[i]);
  }
  SyncFolder(folder);
  reservation.Release();
  result.outcome = SetWriteResult::Outcome::Written;
  return result;
}

}  // namespace quorl
