// A set of files under one base name (a picture, its settings, its curves)
// written as one unit:
//  1. the base name is reserved by creating BASE.saving with O_CREAT|O_EXCL
//     and holding a lock on it; the reservation lists the set's files;
//  2. every file goes to a temporary name in the same folder;
//  3. the files are renamed into place in the order given, the last one
//     (the picture) completing the set; then the reservation goes.
// A set whose writer died keeps its reservation without the lock; the next
// set written into that folder removes what that set had renamed into place
// unless its last file made it. No write merges into, reads or follows a
// file or link already standing at one of the new set's names.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorl {

struct SetFile {
  std::string suffix;  // appended to the base name, e.g. ".ini", "_anim_start.curve", ".png"
  std::string bytes;
};

enum class ExistingSet {
  NextName,   // a name in use is passed over for the next candidate
  Refuse,     // a fixed name in use is an error
  Skip,       // a fixed name in use: nothing is written
  Overwrite,  // a fixed name in use: the new set replaces the old files
};

struct SetNaming {
  // The base name (no folder, no extension) for attempt 0, 1, ...
  std::function<std::string(int attempt)> candidate;
  ExistingSet existing = ExistingSet::NextName;
  int attempts = 100000;  // NextName only
};

struct SetWriteResult {
  enum class Outcome { Written, Skipped, Exists, Failed };
  Outcome outcome = Outcome::Failed;
  std::string base;   // folder + "/" + name of the set (also when skipped or existing)
  std::string error;  // the one reason, for Failed and Exists
  bool ok() const { return outcome == Outcome::Written; }
};

// Writes `files` (last one completes the set) into `folder`. First removes
// incomplete sets left in the folder and our day-old temporaries. On failure
// nothing of the new set is left.
SetWriteResult WriteFileSet(const std::string& folder, const SetNaming& naming,
                            const std::vector<SetFile>& files);

// Removes the sets in `folder` whose writer stopped before the last file:
// the files their reservation lists, their temporaries and the reservation.
// Sets still being written (their reservation is locked) are left alone.
// Returns the number of sets removed.
int RemoveIncompleteSets(const std::string& folder);

// The suffix of a set's reservation.
inline constexpr const char* kReservationSuffix = ".saving";

}  // namespace quorl
