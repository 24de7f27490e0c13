// Our temporary files do not outlive us: every live temporary name is kept
// in a fixed table that a SIGINT or SIGTERM handler unlinks (the handler
// uses only async-signal-safe calls), and temporaries left by a killed run
// are removed from the folders we write once they are a day old.
#pragma once

#include <chrono>
#include <string>

namespace quorl {

// Creates a temporary file beside `target` (target + ".tmpXXXXXX", mode
// 0600 until finished), registered for removal on a signal. Returns the
// open descriptor, or -1 with the reason in *error.
int CreateTempFileFor(const std::string& target, std::string& tempPath, std::string* error = nullptr);

// Takes a temporary off the table (after it was renamed or unlinked).
void ForgetTempFile(const std::string& tempPath);

// Unlinks a temporary and takes it off the table.
void RemoveTempFile(const std::string& tempPath);

// Installs the SIGINT and SIGTERM handlers (once; later calls do nothing).
// The handler removes the registered temporaries, then lets the signal end
// the program as it would have.
void InstallTempFileCleanup();

// Removes files in `folder` named like our temporaries (NAME.tmpXXXXXX) or
// an abandoned reservation's temporaries, last changed more than `age` ago.
// Returns how many were removed.
int RemoveOldTemporaries(const std::string& folder, std::chrono::seconds age = std::chrono::hours(24));

// How many temporaries are registered now (for tests).
int LiveTempFileCount();

}  // namespace quorl
