// Arbitrary bytes as a state file or autosave. The first byte picks what is
// fed: the whole file (envelope, checksum, unpacking) or, past the checksum
// that would turn nearly every mutation away, the unpacked contents alone.
// Nothing may crash, and whatever is accepted must load into a program state.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/run_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  quorl::RunSnapshot snapshot;
  std::string error;
  bool read = false;
  if (data[0] & 1) {
    read = quorl::DecodeRunSnapshot(bytes, snapshot, error);
  } else {
    std::string payload;
    read = quorl::UnsealBytes(quorl::kStateFileKind, bytes, payload, error, std::uint64_t{1} << 28) &&
           quorl::DecodeRunSnapshot(payload, snapshot, error);
  }
  if (read) {
    quorl::ProgramState state;
    quorl::ApplyRunSnapshot(std::move(snapshot), state, error);
  }
  return 0;
}
