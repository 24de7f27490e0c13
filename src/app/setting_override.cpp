#include "app/setting_override.h"

#include <cctype>
#include <variant>

#include "base/number_text.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The first row of the key table that holds a parameter under this key.
const KeyDescriptor* FindParameterKey(std::string_view key) {
  for (const KeyDescriptor& row : SettingsTable()) {
    if (SameKey(row.key, key) && !std::holds_alternative<std::monostate>(row.member)) return &row;
  }
  return nullptr;
}

bool KeyExists(std::string_view key) {
  for (const KeyDescriptor& row : SettingsTable()) {
    if (SameKey(row.key, key)) return true;
  }
  return false;
}

}  // namespace

bool SplitKeyValue(std::string_view text, std::string& key, std::string& value) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return false;
  key = std::string(Trimmed(text.substr(0, equals)));
  value = std::string(text.substr(equals + 1));
  return !key.empty();
}

bool ApplySettingOverride(ParameterSet& params, WindowLayout& layout, std::string_view rawKey,
                          std::string_view value, std::string& error) {
  const std::string_view key = Trimmed(rawKey);
  const std::string shown = "--set " + std::string(key);
  if (SameKey(key, "style")) {
    error = shown + ": choose the style with --style";
    return false;
  }
  const KeyDescriptor* row = FindParameterKey(key);
  if (row == nullptr) {
    error = KeyExists(key) ? shown + ": this key holds no setting"
                           : "unknown settings key '" + std::string(key) + "'";
    return false;
  }
  if (int* member = RowValue<int>(*row, params, layout)) {
    const std::optional<int> number = ParseInt(Trimmed(value));
    if (!number) {
      error = shown + ": '" + std::string(value) + "' is not an integer";
      return false;
    }
    *member = *number;
  } else if (bool* flag = RowValue<bool>(*row, params, layout)) {
    const std::optional<int> number = ParseInt(Trimmed(value));
    if (!number) {
      error = shown + ": '" + std::string(value) + "' is not 0 or 1";
      return false;
    }
    *flag = *number != 0;
  } else if (double* real = RowValue<double>(*row, params, layout)) {
    const std::optional<double> number = ParseFloat(value);
    if (!number) {
      error = shown + ": '" + std::string(value) + "' is not a number";
      return false;
    }
    *real = *number;
  } else if (std::string* text = RowValue<std::string>(*row, params, layout)) {
    *text = std::string(value);
  }
  return true;
}

}  // namespace quorl
