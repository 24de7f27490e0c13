// What the next start offers back after a run that did not end cleanly.
//
// The last autosave of a crashed session is offered once at start. The user
// may restore it, throw it away, or leave the question for later: "later"
// moves it aside, so the autosaves of the new session cannot overwrite it,
// and it is offered again at every start until it is restored or discarded.
#pragma once

#include <string>

#include "engine/run_state.h"

namespace quorl {

enum class RecoveryChoice { kRestore, kDiscard, kLater };

// The file kept by "later" in the state folder.
std::string KeptRecoveryPath(const std::string& folder);

// The file to offer at start, or "" for none: a file kept for later comes
// first (it is older and was never answered), then the last autosave when
// the previous session ended uncleanly.
std::string RecoveryToOffer(const std::string& folder, bool previousEndedUncleanly);

// Carries out the user's answer about `path` (as RecoveryToOffer gave it).
// kRestore reads the snapshot into `snapshot` and removes a file kept for
// later (the autosave itself stays until the next one replaces it);
// kDiscard removes the file; kLater moves the autosave aside. False with a
// message when the file cannot be read or moved; a file that cannot be read
// is left where it is, so nothing is lost by a refusal.
bool AnswerRecovery(const std::string& folder, const std::string& path, RecoveryChoice choice,
                    RunSnapshot& snapshot, std::string& error);

}  // namespace quorl
