#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/atomic_file.h"
#include "base/paths.h"
#include "curves/curve_slots.h"

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
};

TEST_F(CurveFileTest, SpamWritesCrlfPairsOnlyFromTwoPoints) {
  CurvePoints c;
  c.AddPoint(1.5, -2);
  EXPECT_EQ(c.Save(Path("one.curve")), CurveSaveOutcome::TooFewPoints);
  EXPECT_FALSE(FileExists(Path("one.curve")));

  c.AddPoint(0.1 + 0.2, 1.5e-6);
  fs::create_directories(dir_ / "a folder");
  ASSERT_EQ(c.Save(Path("a folder/x_\"Values - Radius\".curve")), CurveSaveOutcome::Written);
  EXPECT_EQ(Read("a folder/x_Values_-_Radius.curve"), "1.5\r\n-2\r\n0.3\r\n1.5E-6\r\n");

  std::string error;
  EXPECT_EQ(c.Save(Path("missing/x.curve"), &error), CurveSaveOutcome::Failed);
  EXPECT_FALSE(error.empty());
}

TEST_F(CurveFileTest, FileToCurveToFileKeepsTheBytes) {
  const std::string bytes = "0\r\n-1\r\n0.123456789012345\r\n123456789012345\r\n-2.5E-7\r\n1E15\r\n";
  Write("in.curve", bytes);
  CurvePoints c;
  ASSERT_EQ(c.Load(Path("in.curve")), CurveLoadOutcome::Loaded);
  ASSERT_EQ(c.Save(Path("out.curve")), CurveSaveOutcome::Written);
  EXPECT_EQ(Read("out.curve"), bytes);
}

TEST_F(CurveFileTest, MalformedFilesGiveTheMessageAndAnEmptyCurve) {
  const char* bad[] = {
      "1\r\n2\r\n3\r\n",  // odd number of lines
      "1\r\nabc\r\n",        "nan\r\n1\r\n", "1\r\ninf\r\n", "1e999\r\n0\r\n",
      "1\r\n2\r\n\r\n3\r\n",  // a blank line
  };
  for (const char* bytes : bad) {
    SCOPED_TRACE(bytes);
    Write("bad.curve", bytes);
    CurvePoints c;
    c.AddPoint(7, 7);
    std::string error;
    EXPECT_EQ(c.Load(Path("bad.curve"), &error), CurveLoadOutcome::Malformed);
    EXPECT_EQ(c.GetLength(), 0);
    EXPECT_EQ(error, kMalformed);
  }
}

TEST_F(CurveFileTest, AFixedCurveWritesTheCheckedInFileByteForByte) {
  CurvePoints c;
  c.AddPoint(0, -1);
  c.AddPoint(0.123456789012345, 123456789012345);
  c.AddPoint(-2.5e-7, 1e15);
  c.AddPoint(1.0 / 3, 2.0 / 3);
  c.AddPoint(-7, 0.001);
  ASSERT_EQ(c.Save(Path("fixed_\"Values - Radius\".curve")), CurveSaveOutcome::Written);
  std::string expected;
  ASSERT_TRUE(ReadWholeFile(std::string(QUORL_SOURCE_DIR) + "/tests/data/stored/fixed_Values_-_Radius.curve",
                            expected));
  EXPECT_EQ(Read("fixed_Values_-_Radius.curve"), expected);
}

}  // namespace
}  // namespace quorl
