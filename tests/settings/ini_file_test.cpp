#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace quorl {
namespace {

TEST(IniFile, FindsNamesWithoutCaseAndBlanks) {
  IniFile ini;
  ini.LoadText("top=1\r\n[ Start ]\r\n  Steps = 1000 \r\nsteps=2\r\n[sine]\r\nOpacity=27\r\n");
  EXPECT_EQ(ini.Find("start", "STEPS"), "1000");  // the first of two
  EXPECT_EQ(ini.Find(" START ", " steps"), "1000");
  EXPECT_EQ(ini.Find("Sine", "opacity"), "27");
  EXPECT_FALSE(ini.Find("sine", "Steps"));  // keys belong to their own section
  EXPECT_FALSE(ini.Find("start", "top"));   // lines before any section
  EXPECT_EQ(ini.Get("tan", "Steps", "d"), "d");
}

TEST(IniFile, CutsLongValues) {
  IniFile ini;
  ini.LoadText("[a]\nk=" + std::string(3000, 'x') + "\n");
  EXPECT_EQ(ini.Find("a", "k")->size(), IniFile::kMaxValueLength);
}

TEST(IniFile, WritesInPlaceAtSectionEndOrNewSectionKeepingOtherLines) {
  IniFile ini;
  ini.LoadText("; kept\n[start]\nStyle=tan\nodd line\n\n[tan]\nSteps = 5\n");
  ini.Set("START", "style", "sine");      // replaced where it stands
  ini.Set("start", "ImageWidth", "800");  // before the blank separator
  ini.Set("tan", "Steps", "6");
  ini.Set("forms", "ValuesTop", "18");  // new section at the end
  EXPECT_EQ(
      ini.Text(),
      "; kept\n[start]\nstyle=sine\nodd line\nImageWidth=800\n\n[tan]\nSteps=6\n[forms]\nValuesTop=18\n");
}

TEST(IniFile, KeepsCrLfAndDropsLineBreaksFromValues) {
  IniFile ini;
  ini.LoadText("[a]\r\nk=1\r\n");
  ini.Set("a", "path", "x\ny\rz");
  EXPECT_EQ(ini.Text(), "[a]\r\nk=1\r\npath=xyz\r\n");
}

}  // namespace
}  // namespace quorl
