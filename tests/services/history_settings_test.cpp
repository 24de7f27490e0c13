#include "services/history_settings.h"

#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "settings/ini_file.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

class HistorySettingsFile : public ::testing::Test {
 protected:
  test::ScratchFolder scratch{"quorl-history-settings-test"};
  const std::string path = (scratch.Path() / "quorl.ini").string();
};

TEST_F(HistorySettingsFile, DefaultsWhenMissingAndRoundTripInTheirOwnSection) {
  const HistorySettings defaults = ReadHistorySettings(path);
  EXPECT_EQ(defaults.keepDays, 30);
  EXPECT_EQ(defaults.keepMegabytes, 2048);
  EXPECT_EQ(defaults.autosaveSeconds, 60);
  EXPECT_EQ(defaults.autosaveLimitMegabytes, 1024);
  EXPECT_EQ(defaults.Limits().maxAgeSeconds, 30LL * 24 * 3600);
  EXPECT_EQ(defaults.Limits().maxBytes, 2ULL << 30);
  EXPECT_EQ(defaults.Autosave("/s").maxGridBytes, 1ULL << 30);
  EXPECT_EQ(defaults.Autosave("/s").interval, std::chrono::seconds(60));

  // Other sections and their keys stay exactly as they were.
  const std::string before = "[start]\nCurrentStyle=sine\n[sine]\nSteps=1234\nKeepDays=99\n";
  ASSERT_TRUE(WriteFileAtomically(path, before, nullptr));
  HistorySettings mine;
  mine.keepDays = 7;
  mine.keepMegabytes = 100;
  mine.autosaveSeconds = 15;
  mine.autosaveLimitMegabytes = 0;
  ASSERT_TRUE(WriteHistorySettings(mine, path));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, text));
  EXPECT_EQ(text.rfind(before, 0), 0u) << text;
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));
  EXPECT_EQ(ini.Get("sine", "KeepDays", ""), "99");

  const HistorySettings read = ReadHistorySettings(path);
  EXPECT_EQ(read.keepDays, 7);
  EXPECT_EQ(read.keepMegabytes, 100);
  EXPECT_EQ(read.autosaveSeconds, 15);
  EXPECT_EQ(read.autosaveLimitMegabytes, 0);
  EXPECT_EQ(read.Autosave("/s").maxGridBytes, 0u);
}

TEST_F(HistorySettingsFile, ValuesOutOfRangeOrNotNumbersAreHeld) {
  ASSERT_TRUE(WriteFileAtomically(path,
                                  "[history]\nKeepDays=0\nKeepMegabytes=99999999999999999999\n"
                                  "AutosaveSeconds=12abc\nAutosaveLimitMegabytes=-5\n",
                                  nullptr));
  const HistorySettings read = ReadHistorySettings(path);
  EXPECT_EQ(read.keepDays, HistorySettings::kMinDays);
  EXPECT_EQ(read.keepMegabytes, 2048);  // does not parse as a number: the default
  EXPECT_EQ(read.autosaveSeconds, 60);
  EXPECT_EQ(read.autosaveLimitMegabytes, HistorySettings::kMinLimitMegabytes);

  HistorySettings huge;
  huge.keepDays = 1 << 30;
  huge.keepMegabytes = 1 << 30;
  huge.autosaveSeconds = -1;
  ASSERT_TRUE(WriteHistorySettings(huge, path));
  const HistorySettings held = ReadHistorySettings(path);
  EXPECT_EQ(held.keepDays, HistorySettings::kMaxDays);
  EXPECT_EQ(held.keepMegabytes, HistorySettings::kMaxMegabytes);
  EXPECT_EQ(held.autosaveSeconds, HistorySettings::kMinSeconds);
  // The largest limits still fit the history's and autosave's byte counts.
  EXPECT_EQ(held.Limits().maxBytes, static_cast<std::uint64_t>(HistorySettings::kMaxMegabytes) << 20);
}

}  // namespace
}  // namespace quorl
