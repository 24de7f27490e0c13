#include "services/recovery_offer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/paths.h"
#include "services/autosave.h"

namespace quorl {
namespace {

constexpr const char* kKeptName = "canvas-kept.qauto";

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string KeptRecoveryPath(const std::string& folder) {
  return WithSlash(folder) + kKeptName;
}

std::string RecoveryToOffer(const std::string& folder, bool previousEndedUncleanly) {
  if (FileExists(KeptRecoveryPath(folder))) return KeptRecoveryPath(folder);
  const std::string autosave = Autosaver::PathIn(folder);
  if (previousEndedUncleanly && FileExists(autosave)) return autosave;
  return "";
}

bool AnswerRecovery(const std::string& folder, const std::string& path, RecoveryChoice choice,
                    RunSnapshot& snapshot, std::string& error) {
  const std::string kept = KeptRecoveryPath(folder);
  switch (choice) {
    case RecoveryChoice::kRestore:
      if (!ReadRunStateFile(path, kAutosaveKind, snapshot, error)) return false;
      if (path == kept) std::remove(kept.c_str());
      return true;
    case RecoveryChoice::kDiscard:
      if (std::remove(path.c_str()) != 0 && errno != ENOENT) {
        error = "The file " + path + " cannot be removed: " + std::strerror(errno);
        return false;
      }
      return true;
    case RecoveryChoice::kLater:
      if (path == kept) return true;
      if (std::rename(path.c_str(), kept.c_str()) != 0) {
        error = "The file " + path + " cannot be kept for later: " + std::strerror(errno);
        return false;
      }
      return true;
  }
  return false;
}

}  // namespace quorl
