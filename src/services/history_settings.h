// The user's limits for the recipe history and the autosave: how long and
// how much history is kept, how often a run is autosaved and how large a
// canvas may be to be autosaved at all. They live in a section of their own,
// "history", in the program's settings file; no other section is touched.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "services/autosave.h"
#include "services/recipe_history.h"

namespace quorl {

struct HistorySettings {
  int keepDays = 30;
  int keepMegabytes = 2048;
  int autosaveSeconds = 60;
  int autosaveLimitMegabytes = 1024;  // of canvas grids

  // The ranges a stored or typed value is held to.
  static constexpr int kMinDays = 1, kMaxDays = 3650;
  static constexpr int kMinMegabytes = 1, kMaxMegabytes = 1 << 20;
  static constexpr int kMinSeconds = 10, kMaxSeconds = 3600;
  static constexpr int kMinLimitMegabytes = 0, kMaxLimitMegabytes = 1 << 20;

  HistoryLimits Limits() const;
  AutosaveSettings Autosave(const std::string& folder) const;
  // Every value held to its range.
  void KeepInRanges();
};

// Defaults for what is missing or not a number; values out of range are
// held to it.
HistorySettings ReadHistorySettings(const std::string& settingsPath);
bool WriteHistorySettings(const HistorySettings& settings, const std::string& settingsPath,
                          std::string* error = nullptr);

}  // namespace quorl
