// Arbitrary bytes as a picture that may carry Quorl settings: reading the
// recipe must never crash, and whatever it finds must unpack safely.
#include <cstddef>
#include <cstdint>
#include <string>

#include "canvas/png_recipe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  quorl::Recipe recipe;
  std::string error;
  quorl::ReadPngRecipe(bytes, recipe, error);
  return 0;
}
