// Settings files edited by hand, or damaged: every value ends up where the
// windows would keep it, never where it could exhaust memory or overflow.
#include <gtest/gtest.h>

#include <string>

#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

ParameterSet ReadAndFill(const std::string& text, WindowLayout* layout = nullptr) {
  ParameterSet p;
  WindowLayout scratch;
  ReadIniText(p, layout ? *layout : scratch, "sine", text);
  KeepInFieldRanges(p);
  return p;
}

TEST(HostileValues, SizesCountsAndJunkStayInRange) {
  ParameterSet p = ReadAndFill(
      "[start]\nImageWidth=2147483647\nImageHeight=-2147483648\n"
      "[sine]\nSteps=2147483648\nGrainMultiplier=0\nStartGrain=-7\nPercentToComplete=0x7FFFFFFF\n"
      "StartLimit=99999\nStartEllipseWidth=NaN\nEndEllipseWidth=-inf\nStartRockerAmount=1e400\n"
      "NumberOfRocks=1e308\n");
  EXPECT_EQ(p.ImageWidth, kMaxCanvasSide);
  EXPECT_EQ(p.ImageHeight, 1);
  EXPECT_EQ(p.Steps, 1000);  // 2^31 does not fit: the default
  EXPECT_EQ(p.GrainMultiplier, 1);
  EXPECT_EQ(p.StartGrain, 1);
  EXPECT_EQ(p.PercentToComplete, 100);
  EXPECT_EQ(p.StartLimit, 10);
  EXPECT_EQ(p.StartEllipseWidth, 1.0);  // not numbers: the defaults
  EXPECT_EQ(p.EndEllipseWidth, 1.0);
  EXPECT_EQ(p.StartRockerAmount, 0.0);
  EXPECT_EQ(p.NumberOfRocks, 1e308);  // a finite value is kept as written
}

TEST(HostileValues, HugeStringsAreCut) {
  const std::string huge(10 * 1024 * 1024, 'a');
  WindowLayout layout;
  ParameterSet p = ReadAndFill("[start]\nSaveDir=" + huge + "\nSourceImageFileName=" + huge + "\n", &layout);
  EXPECT_EQ(layout.SaveDir.size(), 2047u);
  EXPECT_EQ(p.SourceImageFileName.size(), 2047u);
}

TEST(HostileValues, ReadingAloneKeepsTheCanvasInRange) {
  ParameterSet p;
  WindowLayout layout;
  ReadIniText(p, layout, "sine", "[start]\nImageWidth=0\nImageHeight=100000\n");
  EXPECT_EQ(p.ImageWidth, 1);
  EXPECT_EQ(p.ImageHeight, kMaxCanvasSide);
  p.ImageWidth = -3;
  KeepCanvasSizeInRange(p);
  EXPECT_EQ(p.ImageWidth, 1);
}

}  // namespace
}  // namespace quorl
