// Files are never left half-written: the bytes go to a temporary file in the
// same folder, which is then renamed over the target.
#pragma once

#include <string>
#include <string_view>

namespace quorl {

// Writes `bytes` to `path` atomically. On failure returns false, leaves any
// old file at `path` untouched, removes the temporary file and puts the
// reason into *error (when given).
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

}  // namespace quorl
