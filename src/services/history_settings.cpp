#include "services/history_settings.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "settings/ini_file.h"

namespace quorl {
namespace {

constexpr const char* kSection = "history";

std::optional<int> IntValue(const IniFile& ini, const char* key) {
  const std::optional<std::string> text = ini.Find(kSection, key);
  if (!text) return std::nullopt;
  long long value = 0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  // Held to the int range here; the caller holds it to its own.
  return static_cast<int>(std::clamp<long long>(value, -(1LL << 30), 1LL << 30));
}

}  // namespace

HistoryLimits HistorySettings::Limits() const {
  HistoryLimits limits;
  limits.maxAgeSeconds = static_cast<std::int64_t>(keepDays) * 24 * 3600;
  limits.maxBytes = static_cast<std::uint64_t>(keepMegabytes) << 20;
  return limits;
}

AutosaveSettings HistorySettings::Autosave(const std::string& folder) const {
  AutosaveSettings settings;
  settings.folder = folder;
  settings.interval = std::chrono::seconds(autosaveSeconds);
  settings.maxGridBytes = static_cast<std::uint64_t>(autosaveLimitMegabytes) << 20;
  return settings;
}

void HistorySettings::KeepInRanges() {
  keepDays = std::clamp(keepDays, kMinDays, kMaxDays);
  keepMegabytes = std::clamp(keepMegabytes, kMinMegabytes, kMaxMegabytes);
  autosaveSeconds = std::clamp(autosaveSeconds, kMinSeconds, kMaxSeconds);
  autosaveLimitMegabytes = std::clamp(autosaveLimitMegabytes, kMinLimitMegabytes, kMaxLimitMegabytes);
}

HistorySettings ReadHistorySettings(const std::string& settingsPath) {
  HistorySettings settings;
  IniFile ini;
  if (!ini.Load(settingsPath)) return settings;
  if (const auto v = IntValue(ini, "KeepDays")) settings.keepDays = *v;
  if (const auto v = IntValue(ini, "KeepMegabytes")) settings.keepMegabytes = *v;
  if (const auto v = IntValue(ini, "AutosaveSeconds")) settings.autosaveSeconds = *v;
  if (const auto v = IntValue(ini, "AutosaveLimitMegabytes")) settings.autosaveLimitMegabytes = *v;
  settings.KeepInRanges();
  return settings;
}

bool WriteHistorySettings(const HistorySettings& settings, const std::string& settingsPath,
                          std::string* error) {
  IniFile ini;
  // A settings file that exists but cannot be read is not written over.
  if (!ini.Load(settingsPath, error)) return false;
  HistorySettings held = settings;
  held.KeepInRanges();
  ini.Set(kSection, "KeepDays", std::to_string(held.keepDays));
  ini.Set(kSection, "KeepMegabytes", std::to_string(held.keepMegabytes));
  ini.Set(kSection, "AutosaveSeconds", std::to_string(held.autosaveSeconds));
  ini.Set(kSection, "AutosaveLimitMegabytes", std::to_string(held.autosaveLimitMegabytes));
  return ini.Save(settingsPath, error);
}

}  // namespace quorl
