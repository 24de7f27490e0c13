#include "services/variations.h"

#include <gtest/gtest.h>

#include <variant>

#include "settings/field_ranges.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

// The keys whose values differ between two parameter sets.
std::vector<std::string> Differences(const ParameterSet& a, const ParameterSet& b) {
  std::vector<std::string> keys;
  for (const KeyDescriptor& row : SettingsTable()) {
    bool differs = false;
    if (auto* i = std::get_if<int ParameterSet::*>(&row.member)) differs = a.*(*i) != b.*(*i);
    if (auto* d = std::get_if<double ParameterSet::*>(&row.member)) differs = a.*(*d) != b.*(*d);
    if (auto* f = std::get_if<bool ParameterSet::*>(&row.member)) differs = a.*(*f) != b.*(*f);
    if (auto* s = std::get_if<std::string ParameterSet::*>(&row.member)) differs = a.*(*s) != b.*(*s);
    if (differs && (keys.empty() || keys.back() != row.key)) keys.push_back(row.key);
  }
  return keys;
}

TEST(Variations, EightDistinctNeighboursEachMovingOneOrTwoValues) {
  ParameterSet base;
  base.StartBumps = 4;
  KeepInFieldRanges(base);
  const std::vector<Variation> variations = MakeVariations(base, 11, VariationStep::Medium);
  ASSERT_EQ(variations.size(), 8u);
  for (std::size_t i = 0; i < variations.size(); ++i) {
    const std::vector<std::string> moved = Differences(base, variations[i].params);
    EXPECT_GE(moved.size(), 1u) << i;
    EXPECT_LE(moved.size(), 2u) << i;
    for (const std::string& key : moved)
      EXPECT_NE(variations[i].description.find(key), std::string::npos) << variations[i].description;
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(variations[i].params == variations[j].params);
  }
}

TEST(Variations, TheSameSeedGivesTheSameEightAndAnotherSeedOthers) {
  ParameterSet base;
  const auto a = MakeVariations(base, 5, VariationStep::Small);
  const auto b = MakeVariations(base, 5, VariationStep::Small);
  const auto c = MakeVariations(base, 6, VariationStep::Small);
  ASSERT_EQ(a.size(), 8u);
  ASSERT_EQ(c.size(), 8u);
  int same = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_TRUE(a[i].params == b[i].params);
    EXPECT_EQ(a[i].description, b[i].description);
    same += a[i].params == c[i].params;
  }
  EXPECT_LT(same, 8);
}

TEST(Variations, LargeStepsMoveFurtherThanSmallOnes) {
  ParameterSet base;
  base.StartRadius = 5000;
  base.EndRadius = 5000;
  const auto moved = [&](VariationStep step) {
    double total = 0;
    for (std::uint64_t seed = 0; seed < 20; ++seed)
      for (const Variation& v : MakeVariations(base, seed, step))
        total +=
            std::abs(v.params.StartRadius - base.StartRadius) + std::abs(v.params.EndIota - base.EndIota);
    return total;
  };
  EXPECT_GT(moved(VariationStep::Large), 2 * moved(VariationStep::Small));
}

TEST(Variations, ValuesAtTheEndsOfTheirRangesStillGiveNeighboursInRange) {
  ParameterSet base;
  base.StartBumps = 180;
  base.EndBumps = -180;
  base.StartDepth = 1;
  base.EndDepth = 50;
  base.StartMaxRed = 255;
  base.StartMaxBlue = 0;
  KeepInFieldRanges(base);
  for (std::uint64_t seed = 0; seed < 10; ++seed) {
    const auto variations = MakeVariations(base, seed, VariationStep::Large);
    ASSERT_EQ(variations.size(), 8u);
    for (const Variation& v : variations) {
      EXPECT_LE(v.params.StartBumps, 180);
      EXPECT_GE(v.params.EndBumps, -180);
      EXPECT_GE(v.params.StartDepth, 1);
      EXPECT_LE(v.params.EndDepth, 50);
      EXPECT_LE(v.params.StartMaxRed, 255);
      EXPECT_GE(v.params.StartMaxBlue, 0);
    }
  }
}

}  // namespace
}  // namespace quorl
