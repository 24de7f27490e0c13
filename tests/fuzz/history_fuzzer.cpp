// Arbitrary bytes as a history step file. The first byte picks the whole
// file (envelope and checksum) or, past the checksum, the unpacked contents.
// Nothing may crash; an accepted step must describe its change safely.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "services/recipe_history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string payload, error;
  if (data[0] & 1) {
    payload.assign(bytes);
  } else if (!quorl::UnsealBytes(quorl::kHistoryStepKind, bytes, payload, error, std::uint64_t{1} << 26)) {
    return 0;
  }
  quorl::HistoryEntry entry;
  quorl::HistoryRecipe recipe;
  quorl::Picture24 thumbnail;
  if (quorl::DecodeHistoryStep(payload, entry, recipe, &thumbnail)) {
    const quorl::HistoryRecipe start;
    quorl::DescribeRecipeChange(start, recipe);
  }
  return 0;
}
