#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "curves/curve_file_names.h"
#include "curves/curve_set_files.h"
#include "curves/curve_slots.h"
#include "recording_host.h"
#include "settings/atomic_file.h"
#include "settings/paths.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMalformed = "There is a problem with the .curve file";

class CurveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("curves_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    ASSERT_TRUE(WriteFileAtomically(Path(name), bytes));
  }
  std::string Read(const std::string& name) const {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(Path(name), bytes)) << name;
    return bytes;
  }

  fs::path dir_;
  RecordingHost host_;
};

TEST_F(CurveFileTest, SpamWritesCrlfPairsOnlyFromTwoPoints) {
  kCurve c;
  c.AddPoint(1.5, -2);
  EXPECT_EQ(c.Spam(Path("one.curve")), CurveSaveOutcome::TooFewPoints);
  EXPECT_FALSE(FileExists(Path("one.curve")));

  c.AddPoint(0.1 + 0.2, 1.5e-6);
  fs::create_directories(dir_ / "a folder");
  ASSERT_EQ(c.Spam(Path("a folder/x_\"Values - Radius\".curve")), CurveSaveOutcome::Written);
  EXPECT_EQ(Read("a folder/x_Values_-_Radius.curve"), "1.5\r\n-2\r\n0.3\r\n1.5E-6\r\n");

  std::string error;
  EXPECT_EQ(c.Spam(Path("missing/x.curve"), &error), CurveSaveOutcome::Failed);
  EXPECT_FALSE(error.empty());
}

TEST_F(CurveFileTest, FileToCurveToFileKeepsTheBytes) {
  const std::string bytes = "0\r\n-1\r\n0.123456789012345\r\n123456789012345\r\n-2.5E-7\r\n1E15\r\n";
  Write("in.curve", bytes);
  kCurve c;
  ASSERT_EQ(c.Load(Path("in.curve"), host_), CurveLoadOutcome::Loaded);
  ASSERT_EQ(c.Spam(Path("out.curve")), CurveSaveOutcome::Written);
  EXPECT_EQ(Read("out.curve"), bytes);
}

TEST_F(CurveFileTest, LoadReadsLfCrlfAndCommaAndIgnoresMissingFiles) {
  kCurve c;
  c.AddPoint(9, 9);
  EXPECT_EQ(c.Load(Path("nothing.curve"), host_), CurveLoadOutcome::NoFile);
  EXPECT_EQ(c.GetLength(), 1);

  Write("mixed.curve", "1,5\n2\r\n-3\n4.25");  // the last line needs no line end
  ASSERT_EQ(c.Load(Path("mixed.curve"), host_), CurveLoadOutcome::Loaded);
  EXPECT_EQ(c.Points, (std::vector<kCoord>{{1.5, 2}, {-3, 4.25}}));
  EXPECT_EQ(c.Centroid, (kCoord{-0.75, 3.125}));
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(CurveFileTest, MalformedFilesGiveTheMessageAndAnEmptyCurve) {
  const char* bad[] = {
      "1\r\n2\r\n3\r\n",  // odd number of lines
      "1\r\nabc\r\n",  "nan\r\n1\r\n", "1\r\ninf\r\n", "1e999\r\n0\r\n",
      "1\r\n2\r\n\r\n3\r\n",  // a blank line
  };
  for (const char* bytes : bad) {
    SCOPED_TRACE(bytes);
    host_.messages.clear();
    Write("bad.curve", bytes);
    kCurve c;
    c.AddPoint(7, 7);
    EXPECT_EQ(c.Load(Path("bad.curve"), host_), CurveLoadOutcome::Malformed);
    EXPECT_EQ(c.GetLength(), 0);
    EXPECT_EQ(host_.messages, std::vector<std::string>{kMalformed});
  }
}

TEST(CurveFileNames, SavingAndOpeningSettingsAgree) {
  EXPECT_EQ(SlotName(3), "\"Values - Radius\"");
  EXPECT_EQ(ProposedCurveFileName(0), "Main_-_Path_curve");
  EXPECT_EQ(CurveFileNameAsWritten(""), "test.txt");
  EXPECT_EQ(PictureCurveFileName("/p/quorl20240131_14_05_09__123", 12),
            "/p/quorl20240131_14_05_09__123_Function_-_Lissa_delta.curve");
  EXPECT_EQ(PictureAnimEndCurveFileName("/p/b"), "/p/b_anim_end.curve");
  for (int slot = 0; slot < CurveCount; ++slot) {
    EXPECT_EQ(SettingsCurveFileName("/p/X20240131_14_05_09__123.ini", slot),
              PictureCurveFileName("/p/X20240131_14_05_09__123", slot));
  }
  // Every ".ini" goes, blanks in the settings name become "_", the folder is kept.
  EXPECT_EQ(SettingsCurveFileName("/my dir/a.ini b.ini", 0), "/my dir/a_b_Main_-_Path_curve.curve");
}

void AddLine(kCurve& c, double y, int points) {
  for (int i = 0; i < points; ++i) c.AddPoint(i, y);
}

TEST_F(CurveFileTest, CurvesSavedWithAPictureLoadBackBesideItsSettings) {
  CurveSlots saved;
  AddLine(saved[0].Curve, 0.5, 5);
  AddLine(saved[1].Curve, 2, 6);
  AddLine(saved[7].Curve, -1, 2);  // two points: written, no effect
  AddLine(saved[9].Curve, 1, 1);   // one point: not written
  AddLine(saved.AnimStartPathCurve, 3, 5);
  const std::string base = Path("quorl20240131_14_05_09__123");
  std::string error;
  ASSERT_TRUE(SaveCurvesBesidePicture(saved, base, &error)) << error;
  EXPECT_TRUE(FileExists(base + "_anim_start.curve"));
  EXPECT_FALSE(FileExists(base + "_anim_end.curve"));
  EXPECT_FALSE(FileExists(base + "_Function_-_Start_y.curve"));
  Write("quorl20240131_14_05_09__123_Values_-_Radius.curve", "1\r\n");  // malformed

  CurveSlots loaded;
  AddLine(loaded[4].Curve, 9, 5);  // replaced by the reset
  const CurveFilesLoadReport report = LoadCurvesBesideSettings(loaded, base + ".ini", host_);
  EXPECT_EQ(report.FoundSlots, (std::vector<int>{0, 1, 3, 7}));
  EXPECT_TRUE(report.Error.empty());
  EXPECT_EQ(host_.messages, std::vector<std::string>{kMalformed});
  EXPECT_EQ(loaded[0].Curve.Points, saved[0].Curve.Points);
  EXPECT_EQ(loaded[3].Curve.GetLength(), 0);
  EXPECT_EQ(loaded[4].Curve.GetLength(), 0);
  EXPECT_EQ(loaded[4].UndoCurve.GetLength(), 5);
  EXPECT_EQ(loaded.AnimStartPathCurve.GetLength(), 0);  // animation paths are not read back
  EXPECT_FALSE(loaded.UseForcedCurveIndex);
  // Beziers are built: the path where it was drawn, the Start curve about its centroid.
  EXPECT_EQ(loaded[0].Bezier.EvalY(0.5), 0.5);
  EXPECT_EQ(loaded[1].Bezier.EvalX(0), -2.5);
  EXPECT_FALSE(loaded[7].Bezier.IsValid());
}

}  // namespace
}  // namespace quorl
