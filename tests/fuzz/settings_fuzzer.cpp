// Arbitrary text as a settings file: reading must never crash, and whatever
// was read must write and read back to the same parameters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/parameter_set.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quorl::ParameterSet params;
  quorl::WindowLayout layout;
  quorl::ReadIniText(params, layout, "sine", text);
  quorl::ParameterSet again;
  quorl::WindowLayout againLayout;
  quorl::ReadIniText(again, againLayout, "sine", quorl::WriteIniText(params, layout, "sine"));
  // Floats keep 15 significant digits, so compare the text, not the values.
  if (quorl::WriteIniText(again, againLayout, "sine") != quorl::WriteIniText(params, layout, "sine"))
    std::abort();
  return 0;
}
