#include "settings/field_ranges.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <string>

#include "base/decimal_hundredths.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

TEST(FloorHundredths, TakesTheFloorOfTheExactDecimal) {
  EXPECT_EQ(FloorHundredths("0.29"), 29);
  EXPECT_EQ(FloorHundredths("-0.3"), -30);
  EXPECT_EQ(FloorHundredths("-0.305"), -31);
  EXPECT_EQ(FloorHundredths("1.15"), 115);
  EXPECT_EQ(FloorHundredths("1,5"), 150);
  EXPECT_EQ(FloorHundredths("0.6"), 60);
  EXPECT_EQ(FloorHundredths("-0.001"), -1);
  EXPECT_EQ(FloorHundredths("-0.00"), 0);
  EXPECT_EQ(FloorHundredths("007"), 700);
  EXPECT_EQ(FloorHundredths(".5"), 50);
  EXPECT_EQ(FloorHundredths("+2"), 200);
  EXPECT_EQ(FloorHundredths("1e3"), 100000);
  EXPECT_EQ(FloorHundredths("-12.5E-1"), -125);
  EXPECT_EQ(FloorHundredths("1E-300"), 0);
  EXPECT_EQ(FloorHundredths("-1E-300"), -1);
}

TEST(FloorHundredths, RejectsJunkAndSaturatesHugeValues) {
  for (const char* bad : {"", ".", "-", "abc", "1.2.3", "nan", "inf", "1e999"})
    EXPECT_FALSE(FloorHundredths(bad)) << bad;
  EXPECT_EQ(FloorHundredths("1E300"), LLONG_MAX);
  EXPECT_EQ(FloorHundredths("-1E300"), LLONG_MIN);
  EXPECT_EQ(FloorHundredths("92233720368547758.07"), LLONG_MAX);
  EXPECT_EQ(FloorHundredths("92233720368547758.08"), LLONG_MAX);
  EXPECT_EQ(FloorHundredths("-92233720368547758.085"), LLONG_MIN);
}

TEST(FloorHundredths, OfAValueAsItIsShown) {
  EXPECT_EQ(FloorHundredthsOf(0.6), 60);  // floor(0.6 * 100) in binary gives 59
  EXPECT_EQ(FloorHundredthsOf(-0.3), -30);
  EXPECT_EQ(FloorHundredthsOf(0.29), 29);
  EXPECT_EQ(FloorHundredthsOf(-1e300), LLONG_MIN);
  EXPECT_FALSE(FloorHundredthsOf(std::nan("")));
  // Every hundredths value survives being shown and read back.
  for (int v = -100000; v <= 100000; v += 7) ASSERT_EQ(FloorHundredthsOf(v / 100.0), v) << v;
  EXPECT_EQ(FloorHundredthsOf(INT_MIN / 100.0), INT_MIN);
  EXPECT_EQ(FloorHundredthsOf(INT_MAX / 100.0), INT_MAX);
}

TEST(FieldRanges, EveryRowNamesANumericParameterOnce) {
  std::set<std::string> seen;
  for (const FieldRange& field : FieldRanges()) {
    EXPECT_TRUE(seen.insert(field.key).second) << field.key;
    const KeyDescriptor* row = FindSettingsKey(field.key);
    ASSERT_NE(row, nullptr) << field.key;
    const bool real = field.kind == FieldKind::Real || field.kind == FieldKind::TrackBarHundredths;
    EXPECT_EQ(std::holds_alternative<double ParameterSet::*>(row->member), real) << field.key;
    if (!real) {
      EXPECT_TRUE(std::holds_alternative<int ParameterSet::*>(row->member)) << field.key;
    }
    EXPECT_LE(field.min, field.max) << field.key;
  }
  EXPECT_EQ(FindFieldRange("Steps")->dragMax, 25000);
}

TEST(KeepInFieldRanges, DefaultsChangeOnlyWhereTheWindowsSaySo) {
  ParameterSet p;
  KeepInFieldRanges(p);
  ParameterSet expected;
  expected.PercentToComplete = 100;
  expected.NumberOfFrames = 1;
  expected.PathLissajousDelta1 = 1.5707963267949;  // as the field shows it
  EXPECT_TRUE(p == expected);
}

TEST(KeepInFieldRanges, ClampsWhatTheWindowsStoreBack) {
  ParameterSet p;
  p.Steps = 70000;
  p.StartIota = -5000;
  p.StartDepth = 0;
  p.GrainMultiplier = 5000;
  p.StartScale = -30;
  p.StartRadius = -31;
  p.EndAmount = -1;
  p.StartMaxRed = 300;
  p.BgMaxBlue = -4;
  p.ThetaColorMultiplier = -21;
  p.StartLimit = 0;
  p.EndLimit = 11;
  p.SourceImageEndThetaColorMultiplier = 99;
  p.SourceImageStartOffsetPerStep = 0.6;
  p.SourceImageEndOffsetPerStep = -0.305;
  p.SourceImageStartOffsetOverall = 5.0;
  p.SourceImageOpacityThreshold = -0.5;
  p.NumberOfPathSteps = 0;
  p.NumberOfFrames = 9999;
  p.AnimationOffset = 0;
  p.QuorlPointsBezierMouse = 0;
  p.LissaDelta = 0;
  p.Opacity = 500;
  p.ImageWidth = 9000;
  p.PathTabIndex = 9;
  p.QuorlPointsXStart = 1.0 / 3.0;
  KeepInFieldRanges(p);
  EXPECT_EQ(p.Steps, 60000);
  EXPECT_EQ(p.StartIota, -3600);
  EXPECT_EQ(p.StartDepth, 1);
  EXPECT_EQ(p.GrainMultiplier, 1000);
  EXPECT_EQ(p.StartScale, 0);
  EXPECT_EQ(p.StartRadius, -31);
  EXPECT_EQ(p.EndAmount, 0);
  EXPECT_EQ(p.StartMaxRed, 255);
  EXPECT_EQ(p.BgMaxBlue, 0);
  EXPECT_EQ(p.ThetaColorMultiplier, -20);
  EXPECT_EQ(p.StartLimit, 1);
  EXPECT_EQ(p.EndLimit, 10);
  EXPECT_EQ(p.SourceImageEndThetaColorMultiplier, 20);
  EXPECT_EQ(p.SourceImageStartOffsetPerStep, 0.6);
  EXPECT_EQ(p.SourceImageEndOffsetPerStep, -0.31);
  EXPECT_EQ(p.SourceImageStartOffsetOverall, 2.0);
  EXPECT_EQ(p.SourceImageOpacityThreshold, 0.0);
  EXPECT_EQ(p.NumberOfPathSteps, 1);
  EXPECT_EQ(p.NumberOfFrames, 2000);
  EXPECT_EQ(p.AnimationOffset, 1);
  EXPECT_EQ(p.QuorlPointsBezierMouse, 1);
  EXPECT_EQ(p.LissaDelta, 1);               // the Function window starts with the lower limit 1
  EXPECT_EQ(p.Opacity, 100);                // the Opacity bar stops at 100
  EXPECT_EQ(p.ImageWidth, kMaxCanvasSide);  // no canvas is wider, whatever the file says
  EXPECT_EQ(p.PathTabIndex, 9);
  EXPECT_EQ(p.QuorlPointsXStart, 0.333333333333333);
}

TEST(KeepInFieldRanges, LissaDeltaFollowsTheSelectedFunction) {
  EXPECT_EQ(LissaDeltaMinFor(4), 0);
  EXPECT_EQ(LissaDeltaMinFor(0), 1);
  ParameterSet p;
  p.LissaDelta = 0;
  KeepInFieldRanges(p, LissaDeltaMinFor(4));
  EXPECT_EQ(p.LissaDelta, 0);
  p.LissaDelta = 21;
  KeepInFieldRanges(p, LissaDeltaMinFor(4));
  EXPECT_EQ(p.LissaDelta, 20);
}

}  // namespace
}  // namespace quorl
