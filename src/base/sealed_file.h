// The envelope of the program's own binary files (state files, recipe
// history, autosaves): a magic naming the kind of file, a format version, the
// zstd-compressed payload and a CRC-32 over all of it. A file that was cut
// short, has a flipped bit, is of another kind, or was written by a newer
// version is refused with a sentence saying which, never half-read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorl {

struct SealedKind {
  // Exactly 8 bytes, e.g. "QUORLRS1".
  const char* magic;
  // The newest format version this build writes and reads.
  std::uint32_t version;
  // What the user calls it, for messages: "state file".
  const char* name;
};

// The whole file for `payload`; level is zstd's (1 fast ... 19 small).
std::string SealBytes(const SealedKind& kind, std::string_view payload, int level = 3);

// The payload of a sealed file, or false with a message for the user. A
// payload larger than maxPayload bytes is refused before it is unpacked.
bool UnsealBytes(const SealedKind& kind, std::string_view file, std::string& payload, std::string& error,
                 std::uint64_t maxPayload = std::uint64_t{1} << 40);

// Seals and writes atomically (temporary file, then rename).
bool WriteSealedFile(const std::string& path, const SealedKind& kind, std::string_view payload,
                     std::string& error, int level = 3);
bool ReadSealedFile(const std::string& path, const SealedKind& kind, std::string& payload, std::string& error,
                    std::uint64_t maxPayload = std::uint64_t{1} << 40);

}  // namespace quorl
