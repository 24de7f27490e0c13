#include "settings/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/atomic_file.h"
#include "base/number_text.h"
#include "base/paths.h"
#include "settings/ini_file.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

// What a settings file fills: the picture's parameters and the layout.
struct Stored {
  ParameterSet p;
  WindowLayout w;
  bool operator==(const Stored&) const = default;
};

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorl-settings-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    file_ = dir_ + "/quorl.ini";
    // The picture folder is created by some writes: keep it in here.
    if (const char* old = std::getenv("XDG_PICTURES_DIR")) oldPictures_ = old;
    setenv("XDG_PICTURES_DIR", (dir_ + "/Pictures").c_str(), 1);
  }
  void TearDown() override {
    if (oldPictures_) {
      setenv("XDG_PICTURES_DIR", oldPictures_->c_str(), 1);
    } else {
      unsetenv("XDG_PICTURES_DIR");
    }
    fs::remove_all(dir_);
  }

  void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string ReadText(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
  }
  Stored Read(const std::string& style, ScreenSize screen = {}) {
    Stored s;
    ReadIniFile(s.p, s.w, style, file_, screen);
    return s;
  }

  std::string dir_;
  std::string file_;
  std::optional<std::string> oldPictures_;
};

TEST(SettingsTable, HasEveryKeyInWritingOrder) {
  const auto table = SettingsTable();
  ASSERT_EQ(table.size(), 267u);
  EXPECT_STREQ(table[0].key, "style");
  EXPECT_STREQ(table[1].key, "Opacity");
  EXPECT_STREQ(table[43].key, "AdjustGrain");
  EXPECT_STREQ(table[52].key, "AdjustGrain");
  EXPECT_EQ(table[52].type, KeyType::BoolAgain);
  for (size_t i = 161; i < 169; ++i) EXPECT_EQ(table[i].type, KeyType::Unread) << table[i].key;
  EXPECT_STREQ(table[255].key, "QuorlMaximized");
  EXPECT_STREQ(table[256].key, "KeepSettingsInPictures");
}

TEST_F(SettingsFileTest, NoFileGivesTheDefaults) {
  const auto [p, w] = Read("sine");
  EXPECT_EQ(p.Steps, 1000);
  EXPECT_EQ(p.StartRadius, 100);
  EXPECT_EQ(p.Opacity, 27);
  EXPECT_EQ(p.ImageWidth, 800);
  EXPECT_EQ(p.GrainMultiplier, 357);
  EXPECT_EQ(p.PercentToComplete, 357);
  EXPECT_DOUBLE_EQ(p.PathLissajousDelta1, kHalfPi);
  EXPECT_EQ(w.SaveDir, DefaultPictureFolder());
  EXPECT_EQ(w.LoadDir, DefaultPictureFolder());
  EXPECT_EQ(w.LoadSourceImageDir, DefaultPictureFolder());
  EXPECT_EQ(w.SaveDir.back(), '/');
  EXPECT_EQ(p.SourceImageFileName, "");
  EXPECT_EQ(ReadIniCurrentStyle(file_), "sine");
}

TEST_F(SettingsFileTest, MissingStyleSectionTakesStartAndFormsFromFile) {
  WriteText(file_, "[start]\nImageWidth=640\nSaveDir=/pics/\n[tan]\nSteps=5\n[forms]\nValuesTop=77\n");
  const auto [p, w] = Read("circles");
  EXPECT_EQ(p.ImageWidth, 640);
  EXPECT_EQ(w.SaveDir, "/pics/");
  EXPECT_EQ(w.ValuesTop, 77);
  EXPECT_EQ(p.Steps, 1000);
}

TEST_F(SettingsFileTest, ValueEncodingsOnRead) {
  const auto steps = [&](const std::string& v) {
    WriteText(file_, "[sine]\nSteps=" + v + "\n");
    return Read("sine").p.Steps;
  };
  EXPECT_EQ(steps("0x3E8"), 1000);
  EXPECT_EQ(steps("$3E8"), 1000);
  EXPECT_EQ(steps("-25"), -25);
  EXPECT_EQ(steps("abc"), 1000);
  EXPECT_EQ(steps(""), 1000);
  EXPECT_EQ(steps("99999999999"), 1000);

  WriteText(file_, "[sine]\nWhite=2\nABA=abc\nStartEllipseWidth=2,5\nEndEllipseWidth=x\n");
  const ParameterSet p = Read("sine").p;
  EXPECT_TRUE(p.White);
  EXPECT_FALSE(p.ABA);
  EXPECT_EQ(p.StartEllipseWidth, 2.5);  // a "," decimal separator is read too
  EXPECT_EQ(p.EndEllipseWidth, 1.0);
}

TEST_F(SettingsFileTest, KeepsToolWindowsOnTheScreen) {
  WriteText(file_,
            "[forms]\nValuesLeft=-300\nValuesTop=5000\nValuesHeight=1000\nColorsHeight=10\n"
            "BackgroundImageLeft=99999\nBackgroundImageTop=-1\n");
  ParameterSet p;
  WindowLayout w;
  const ReadIniOutcome out = ReadIniFile(p, w, "sine", file_, ScreenSize{1024, 768});
  EXPECT_EQ(out.maxFormLeft, 974);
  EXPECT_EQ(out.maxFormTop, 718);
  EXPECT_EQ(w.ValuesLeft, 0);
  EXPECT_EQ(w.ValuesTop, 718);
  EXPECT_EQ(w.ValuesHeight, 431);
  EXPECT_EQ(w.ColorsHeight, 50);
  EXPECT_EQ(w.BackgroundImageLeft, 974);
  EXPECT_EQ(w.BackgroundImageTop, 0);
  EXPECT_EQ(w.PointsLeft, 974);                // the default 1048 is off a small screen too
  EXPECT_EQ(Read("sine").w.PointsLeft, 1048);  // headless 1920 x 1080
}

TEST_F(SettingsFileTest, FileWrittenFromNothingFollowsTheTable) {
  ParameterSet p;
  ASSERT_TRUE(WriteIniFileTo(p, WindowLayout{}, "sine", file_));
  const std::string text = ReadText(file_);
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);

  std::vector<std::string> expected;
  for (const auto section : {KeySection::Start, KeySection::Style, KeySection::Forms}) {
    expected.push_back(section == KeySection::Start   ? "[start]"
                       : section == KeySection::Style ? "[sine]"
                                                      : "[forms]");
    for (const KeyDescriptor& row : SettingsTable())
      if (row.section == section && row.type != KeyType::BoolAgain && !row.Has(kSavedSetOnly))
        expected.push_back(std::string(row.key) + "=");
  }
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(expected[i], 0), 0u) << lines[i];
  EXPECT_NE(text.find("\nAnimationFreqW=0\n"), std::string::npos);
  EXPECT_NE(text.find("\nNormalisationDivisor=1\n"), std::string::npos);
  EXPECT_NE(text.find("\nQuorlMaximized=0\n"), std::string::npos);
  EXPECT_NE(text.find("\nPathLissajousDelta1=1.5707963267949\n"), std::string::npos);
}

TEST_F(SettingsFileTest, EveryKeyRoundTrips) {
  // A distinct non-default value for every row, so a key that is not read
  // or not written back fails here.
  const Stored defaults;
  Stored written;
  int checked = 0;
  int i = 0;
  for (const KeyDescriptor& row : SettingsTable()) {
    ++i;
    if (row.type == KeyType::Unread || row.type == KeyType::BoolAgain) continue;
    ++checked;
    if (int* v = RowValue<int>(row, written.p, written.w)) {
      const int old = *RowValue<int>(row, defaults.p, defaults.w);
      *v = row.Has(kWindowHeight) ? old - 1 : 10 + i;
      EXPECT_NE(*v, old) << row.key;
    } else if (bool* b = RowValue<bool>(row, written.p, written.w)) {
      *b = !*RowValue<bool>(row, defaults.p, defaults.w);
    } else if (double* d = RowValue<double>(row, written.p, written.w)) {
      *d = -0.125 * i;
      EXPECT_NE(*d, *RowValue<double>(row, defaults.p, defaults.w)) << row.key;
    } else if (std::string* t = RowValue<std::string>(row, written.p, written.w)) {
      *t = "value " + std::to_string(i);
    } else {
      ADD_FAILURE() << row.key << " has no member";
    }
  }
  EXPECT_EQ(checked, 258);
  written.p.FunctionNumber = 5;  // one of the eight: any other reads as the default
  ASSERT_TRUE(WriteIniFileTo(written.p, written.w, "lissajous", file_));

  Stored back;
  const ReadIniOutcome out = ReadIniFile(back.p, back.w, "lissajous", file_);
  EXPECT_TRUE(out.maximized);
  EXPECT_EQ(ReadIniCurrentStyle(file_), written.p.CurrentStyle);
  Stored expected = written;
  expected.p.CurrentStyle = back.p.CurrentStyle;  // read on its own, above
  expected.p.NormalisationDivisor = 1;            // never read
  // The facts of a saved set are written only into a saved set.
  Stored withoutSetFacts = expected;
  for (const KeyDescriptor& row : SettingsTable()) {
    if (!row.Has(kSavedSetOnly)) continue;
    if (int* v = RowValue<int>(row, withoutSetFacts.p, withoutSetFacts.w))
      *v = *RowValue<int>(row, defaults.p, defaults.w);
    else if (bool* b = RowValue<bool>(row, withoutSetFacts.p, withoutSetFacts.w))
      *b = *RowValue<bool>(row, defaults.p, defaults.w);
    else if (double* d = RowValue<double>(row, withoutSetFacts.p, withoutSetFacts.w))
      *d = *RowValue<double>(row, defaults.p, defaults.w);
    else if (std::string* t = RowValue<std::string>(row, withoutSetFacts.p, withoutSetFacts.w))
      *t = *RowValue<std::string>(row, defaults.p, defaults.w);
  }
  EXPECT_TRUE(back == withoutSetFacts);
  Stored fromSet;
  ReadIniText(fromSet.p, fromSet.w, "lissajous", WriteSavedSetText(written.p, written.w, "lissajous"));
  fromSet.p.CurrentStyle = expected.p.CurrentStyle;
  EXPECT_TRUE(fromSet == expected);
}

TEST_F(SettingsFileTest, ARecipeLeavesOutTheLayoutAndFoldersAndChangesOnlyItsKeys) {
  ParameterSet p;
  p.SourceImageFileName = "/home/author/photos/sea.jpg";
  p.StartRadius = 321;
  const std::string recipe = WriteRecipeText(p, "tan");
  EXPECT_EQ(recipe.find("/home/author"), std::string::npos) << recipe;
  EXPECT_NE(recipe.find("\nSourceImageFileName=sea.jpg\n"), std::string::npos);
  EXPECT_EQ(recipe.find("[forms]"), std::string::npos);
  EXPECT_EQ(recipe.find("SaveDir"), std::string::npos);
  EXPECT_EQ(recipe.find("LoadDir"), std::string::npos);

  // Opened over the user's own settings: keys the text does not hold keep
  // their values, unlike a full read.
  ParameterSet mine;
  mine.StartRadius = 1;
  mine.EndRadius = 77;
  ReadPresentKeys(mine, "tan", recipe);
  EXPECT_EQ(mine.StartRadius, 321);
  ReadPresentKeys(mine, "tan", "[tan]\nStartRadius=40\n");
  EXPECT_EQ(mine.StartRadius, 40);
  EXPECT_EQ(mine.SourceImageFileName, "sea.jpg");
  EXPECT_EQ(mine.EndRadius, p.EndRadius);  // the recipe held it
  ReadPresentKeys(mine, "tan", "[tan]\nEndRadius=12\n");
  EXPECT_EQ(mine.StartRadius, 40);
}

TEST(SettingsTable, EveryLayoutKeyIsGeometryOrAFolder) {
  // The picture never depends on a layout row, and every window key is one.
  int layoutRows = 0;
  for (const KeyDescriptor& row : SettingsTable()) {
    const bool inLayout = std::holds_alternative<int WindowLayout::*>(row.member) ||
                          std::holds_alternative<bool WindowLayout::*>(row.member) ||
                          std::holds_alternative<std::string WindowLayout::*>(row.member);
    layoutRows += inLayout;
    const std::string key = row.key;
    const bool folder = key == "SaveDir" || key == "LoadDir" || key == "LoadSourceImageDir";
    EXPECT_EQ(inLayout, row.section == KeySection::Forms || folder) << key;
  }
  EXPECT_EQ(layoutRows, 44);
}

TEST_F(SettingsFileTest, NormalisationDivisorInTheFileIsIgnored) {
  WriteText(file_, "[sine]\nNormalisationDivisor=7\n");
  ParameterSet p;
  WindowLayout w;
  p.NormalisationDivisor = 3;
  ReadIniFile(p, w, "sine", file_);
  EXPECT_EQ(p.NormalisationDivisor, 1);
}

TEST_F(SettingsFileTest, StylesStayApartAndGlobalsAreShared) {
  ParameterSet p;
  WindowLayout w;
  ReadIniFile(p, w, "sine", file_);
  p.Steps = 111;
  p.StartEllipseWidth = 0.3;
  p.GrainByDepth = true;
  ASSERT_TRUE(WriteIniFileTo(p, w, "sine", file_));
  ReadIniFile(p, w, "circles", file_);
  EXPECT_EQ(p.Steps, 1000);
  EXPECT_TRUE(p.GrainByDepth);
  p.Steps = 222;
  p.GrainByDepth = false;
  ASSERT_TRUE(WriteIniFileTo(p, w, "circles", file_));
  ReadIniFile(p, w, "sine", file_);
  EXPECT_EQ(p.Steps, 111);
  EXPECT_EQ(p.StartEllipseWidth, 0.3);
  EXPECT_FALSE(p.GrainByDepth);
  ReadIniFile(p, w, "circles", file_);
  EXPECT_EQ(p.Steps, 222);
}

TEST_F(SettingsFileTest, MaximizedIsWrittenBothWays) {
  ParameterSet p;
  WindowLayout w;
  w.QuorlMaximized = true;
  ASSERT_TRUE(WriteIniFileTo(p, w, "sine", file_));
  EXPECT_TRUE(ReadIniFile(p, w, "sine", file_).maximized);
  w.QuorlMaximized = false;
  ASSERT_TRUE(WriteIniFileTo(p, w, "sine", file_));
  EXPECT_FALSE(ReadIniFile(p, w, "sine", file_).maximized);
}

TEST_F(SettingsFileTest, CurrentStyleIsReadAndWrittenAlone) {
  WriteText(file_, "[start]\nstyle=\n[tan]\nSteps=5\n");
  EXPECT_EQ(ReadIniCurrentStyle(file_), "sine");
  ASSERT_TRUE(WriteIniCurrentStyle("tan", nullptr, file_));
  EXPECT_EQ(ReadIniCurrentStyle(file_), "tan");
  EXPECT_EQ(ReadText(file_), "[start]\nstyle=tan\n[tan]\nSteps=5\n");
}

TEST_F(SettingsFileTest, PictureSettingsGoBesideThePicture) {
  WindowLayout w;
  w.SaveDir = dir_ + "/";
  EXPECT_EQ(SettingsFileForSuffix(w, "20240131_14_05_09__123"), dir_ + "/quorl20240131_14_05_09__123.ini");
  w.SaveDir = dir_;
  EXPECT_EQ(SettingsFileForSuffix(w, "1"), dir_ + "/quorl1.ini");
  w.SaveDir = dir_ + "/missing";
  EXPECT_EQ(SettingsFileForSuffix(w, "1"), DefaultPictureFolder() + "quorl1.ini");
  EXPECT_EQ(w.SaveDir, dir_ + "/Pictures/Quorl/");
  EXPECT_TRUE(FolderExists(w.SaveDir));
  EXPECT_EQ(SettingsFileForSuffix(w, ""), ProgramSettingsFile());
}

TEST_F(SettingsFileTest, FailedWriteReportsAndLeavesWhatWasThere) {
  ParameterSet p;
  p.Steps = 42;
  const ParameterSet before = p;

  // A regular file where the folder should be.
  WriteText(dir_ + "/plain", "x");
  const std::string underFile = dir_ + "/plain/quorl.ini";
  std::string failure;
  EXPECT_FALSE(WriteIniFileTo(p, WindowLayout{}, "sine", underFile, &failure));
  EXPECT_EQ(failure, "Unable to write to " + underFile);
  EXPECT_EQ(ReadText(dir_ + "/plain"), "x");

  // A folder where the file should be.
  fs::create_directories(file_ + "/inside");
  EXPECT_FALSE(WriteIniFileTo(p, WindowLayout{}, "sine", file_, &failure));
  EXPECT_EQ(failure, "Unable to write to " + file_);
  EXPECT_TRUE(fs::is_directory(file_ + "/inside"));
  std::string message;
  EXPECT_FALSE(WriteIniCurrentStyle("tan", &message, file_));
  EXPECT_EQ(message, "Unable to write to " + file_);
  EXPECT_TRUE(p == before);
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileByteIdentical) {
  // Root ignores permissions, but not an immutable folder.
  const std::string folder = dir_ + "/locked";
  fs::create_directories(folder);
  const std::string path = folder + "/quorl.ini";
  const std::string old = "[start]\r\nstyle=tan\r\n[tan]\r\nSteps=5\r\n";
  WriteText(path, old);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  int flags = 0;
  if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
    ::close(fd);
    GTEST_SKIP() << "file system without attributes";
  }
  const int locked = flags | FS_IMMUTABLE_FL;
  if (::ioctl(fd, FS_IOC_SETFLAGS, &locked) != 0) {
    ::close(fd);
    GTEST_SKIP() << "cannot make a folder immutable here";
  }
  ParameterSet p;
  std::string failure;
  const bool written = WriteIniFileTo(p, WindowLayout{}, "sine", path, &failure);
  ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  ::close(fd);
  EXPECT_FALSE(written);
  EXPECT_EQ(failure, "Unable to write to " + path);
  EXPECT_EQ(ReadText(path), old);
}

TEST_F(SettingsFileTest, ReadsSettingsHeldInText) {
  ParameterSet p;
  p.StartScale = 345;
  WindowLayout w;
  w.ValuesTop = 33;
  const std::string text = WriteIniText(p, w, "test");
  ParameterSet back;
  WindowLayout backLayout;
  ReadIniText(back, backLayout, "test", text);
  EXPECT_EQ(back.StartScale, 345);
  EXPECT_EQ(backLayout.ValuesTop, 33);
  ReadIniText(back, backLayout, "sine", text);
  EXPECT_EQ(back.StartScale, 200);
}

TEST(StoredSettings, AFixedStateWritesTheCheckedInFileByteForByte) {
  // Changing where a value lives in the program must not change one byte
  // of the files users keep.
  ParameterSet p;
  p.CurrentStyle = "lissajous";
  p.Steps = 4321;
  p.StartEllipseWidth = 0.3;
  p.EndScale = 150;
  p.White = false;
  p.PathLissajousDelta2 = 1.0 / 3;
  p.SourceImageFileName = "/pictures/sources/sea.png";
  WindowLayout w;
  w.SaveDir = "/pictures/quorl/";
  w.LoadDir = "/pictures/in/";
  w.LoadSourceImageDir = "/pictures/sources/";
  w.ValuesTop = 77;
  w.PointsVisible = true;
  w.QuorlMaximized = true;
  std::string expected;
  ASSERT_TRUE(ReadWholeFile(std::string(QUORL_SOURCE_DIR) + "/tests/data/stored/quorl.ini", expected));
  EXPECT_EQ(WriteIniText(p, w, "lissajous"), expected);
}

}  // namespace
}  // namespace quorl
