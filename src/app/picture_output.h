// `quorl render -o OUT`: the picture's format by OUT's extension, and
// writing it to a file, to standard output ("-"), or into a pipe or device.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quorl {

enum class OutputFormat { Png, Jpeg, Unknown };

// ".png" (and "-", standard output, or a pipe or device) → PNG; ".jpg" or ".jpeg" → JPEG, in
// any letter case.
OutputFormat OutputFormatOf(const std::string& path);

// Writes `bytes` to `path`: "-" is `standardOutput`; a named pipe or a
// device is written into, as `cat > path` would; anything else is replaced
// atomically (never half-written). False with the reason.
bool WriteOutput(const std::string& path, std::string_view bytes, std::FILE* standardOutput,
                 std::string& error);

}  // namespace quorl
