#include "app/render_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "curves/curve_file_names.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

using test::Outcome;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

class RenderCommand : public ::testing::Test {
 protected:
  // The binary itself, as a user runs it.
  Outcome RunBinary(const std::string& arguments) {
    const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const std::string command =
        std::string(QUORL_BINARY) + " " + arguments + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  }

  // The same in-process, faster.
  Outcome Render(const std::vector<std::string>& words) { return test::RunQuorl("render", words); }

  // A small quick scene: 64 x 64 pixels, 100 steps.
  fs::path SmallScene(const std::string& extra = "") {
    const fs::path path = dir / "small.ini";
    WriteFile(path,
              "[start]\nImageWidth=64\nImageHeight=64\n[sine]\nSteps=100\nGrainMultiplier=50\n" + extra);
    return path;
  }

  test::ScratchFolder scratch{"quorl-render-test"};
  const fs::path dir = scratch.Path();
};

TEST_F(RenderCommand, MissingOrUnreadableSettingsExit1WithOneLine) {
  const fs::path missing = dir / "missing.ini";
  const Outcome outcome = RunBinary("render " + missing.string() + " -o " + (dir / "o.png").string());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find(missing.string()), std::string::npos);
  EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1);
  EXPECT_FALSE(fs::exists(dir / "o.png"));

  EXPECT_EQ(Render({dir.string(), "-o", (dir / "o.png").string()}).status, 1);  // a folder
}

TEST_F(RenderCommand, BadOverridesNameTheKey) {
  const fs::path settings = SmallScene();
  const std::string out = (dir / "o.png").string();
  Outcome outcome = Render({settings.string(), "-o", out, "--set", "NoSuchKey=3"});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("NoSuchKey"), std::string::npos);
  outcome = Render({settings.string(), "-o", out, "--set", "Steps=many"});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("Steps"), std::string::npos);
  EXPECT_EQ(Render({settings.string(), "-o", out, "--set", "Steps"}).status, 2);
  EXPECT_FALSE(fs::exists(out));
  // Keys match without regard to case, as in the settings file.
  EXPECT_EQ(Render({settings.string(), "-o", out, "--set", "steps=20"}).status, 0);
}

TEST_F(RenderCommand, EmptySettingsGiveTheDefaultPicture) {
  const fs::path settings = dir / "empty.ini";
  WriteFile(settings, "");
  const fs::path out = dir / "default.png";
  const Outcome outcome = RunBinary("render " + settings.string() + " -o " + out.string() + " --bench");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string png = ReadFile(out);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // IHDR: 800 x 800, bit depth 8, colour type 2 (RGB).
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(png[i]); };
  EXPECT_EQ(byte(18) * 256 + byte(19), 800);
  EXPECT_EQ(byte(22) * 256 + byte(23), 800);
  EXPECT_EQ(byte(24), 8);
  EXPECT_EQ(byte(25), 2);
  EXPECT_NE(outcome.out.find("steps drawn: 1000\n"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("points: 715000\n"), std::string::npos);
  EXPECT_NE(outcome.out.find("million sub-samples per second: "), std::string::npos);
  EXPECT_EQ(ReadFile(settings), "");  // never written
}

TEST_F(RenderCommand, SameSettingsSameBytesAndTheSeedMatters) {
  const fs::path settings = SmallScene("UseIotaExtra=1\n");
  const std::string a = (dir / "a.png").string(), b = (dir / "b.png").string(), c = (dir / "c.png").string();
  ASSERT_EQ(Render({settings.string(), "-o", a}).status, 0);
  ASSERT_EQ(Render({settings.string(), "-o", b}).status, 0);
  ASSERT_EQ(Render({settings.string(), "-o", c, "--seed", "7"}).status, 0);
  EXPECT_EQ(ReadFile(a), ReadFile(b));
  EXPECT_NE(ReadFile(a), ReadFile(c));
}

TEST_F(RenderCommand, NeverWritesTheSettingsFile) {
  const fs::path settings = SmallScene();
  const std::string before = ReadFile(settings);
  ASSERT_EQ(Render({settings.string(), "-o", (dir / "o.png").string(), "--set", "Steps=5"}).status, 0);
  EXPECT_EQ(ReadFile(settings), before);
  EXPECT_EQ(Render({settings.string(), "-o", settings.string()}).status, 2);
  EXPECT_EQ(ReadFile(settings), before);
}

TEST_F(RenderCommand, StyleOverridesAndClampsShapeThePicture) {
  const fs::path settings = SmallScene("[circles]\nSteps=100\nGrainMultiplier=50\nFunctionNumber=3\n");
  const auto render = [&](const std::string& name, std::vector<std::string> extra) {
    std::vector<std::string> words{settings.string(), "-o", (dir / name).string()};
    words.insert(words.end(), extra.begin(), extra.end());
    EXPECT_EQ(Render(words).status, 0) << name;
    return ReadFile(dir / name);
  };
  const std::string sine = render("sine.png", {});
  EXPECT_NE(render("circles.png", {"--style", "circles"}), sine);
  // The Values window keeps Draw (%) within 1 ... 100, so 500 draws as 100.
  EXPECT_EQ(render("percent.png", {"--set", "PercentToComplete=500"}), sine);
  EXPECT_NE(render("half.png", {"--set", "PercentToComplete=50"}), sine);
  EXPECT_NE(render("red.png", {"--set", "EndMaxRed=255"}), sine);
}

TEST_F(RenderCommand, CurveFilesBesideTheSettingsAreLoaded) {
  const fs::path settings = SmallScene();
  const std::string plain = (dir / "plain.png").string(), curved = (dir / "curved.png").string();
  ASSERT_EQ(Render({settings.string(), "-o", plain}).status, 0);
  // "Values - Radius" flat at y = 1: every radius doubled.
  WriteFile(SettingsCurveFileName(settings.string(), 3), "-2\n1\n-1\n1\n0\n1\n1\n1\n2\n1\n");
  ASSERT_EQ(Render({settings.string(), "-o", curved}).status, 0);
  EXPECT_NE(ReadFile(plain), ReadFile(curved));
}

TEST_F(RenderCommand, MalformedSettingsStillRender) {
  const fs::path settings = dir / "junk.ini";
  std::string junk = "[sine\nSteps==\n\x01\x02\xff[start]\nImageWidth=64\nImageHeight=99999999999\n";
  junk += std::string(300, '\x01') + "[sine]\nSteps=30\nGrainMultiplier=0x10\nStartRadius=abc\n";
  WriteFile(settings, junk);
  const fs::path out = dir / "o.png";
  Outcome outcome = Render({settings.string(), "-o", out.string()});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_TRUE(fs::exists(out));

  // Canvas sizes are kept within 1 ... 6000 pixels a side, however the file
  // asks: no empty picture, no multi-gigabyte grids.
  fs::remove(out);
  WriteFile(settings, "[start]\nImageWidth=-5\nImageHeight=2000000000\n[sine]\nSteps=3\n");
  outcome = Render({settings.string(), "-o", out.string(), "--set", "ImageHeight=20"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  const std::string png = ReadFile(out);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(static_cast<unsigned char>(png[19]), 1);   // width 1
  EXPECT_EQ(static_cast<unsigned char>(png[23]), 20);  // height 20
}

}  // namespace
}  // namespace quorl
