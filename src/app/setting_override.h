// `--set KEY=VALUE`: one settings key overridden after the file is read.
#pragma once

#include <string>
#include <string_view>

#include "settings/parameter_set.h"
#include "settings/window_layout.h"

namespace quorl {

// Splits "KEY=VALUE" at the first "="; false when there is none or the key
// is empty.
bool SplitKeyValue(std::string_view text, std::string& key, std::string& value);

// Sets the parameter behind `key` (matched like the settings file matches
// keys: without regard to case or surrounding blanks) from `value`, read as
// the file's value of that key would be, except that text which is not a
// value of the key's type is an error rather than the default. Returns false
// with a one-line reason for an unknown key, a key that holds no parameter,
// or a bad value.
bool ApplySettingOverride(ParameterSet& params, WindowLayout& layout, std::string_view key,
                          std::string_view value, std::string& error);

}  // namespace quorl
