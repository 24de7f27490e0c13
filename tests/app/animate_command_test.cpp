#include "app/animate_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "support/app_test_support.h"

namespace quorl {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

class AnimateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sub : {"one", "two", "three"}) fs::create_directories(dir / sub);
    settings = dir / "series.ini";
    // Four frames whose start radius swings by half a unit, with random
    // scatter on so that each frame's own random numbers matter.
    std::ofstream(settings) << "[start]\nImageWidth=40\nImageHeight=32\n"
                               "[sine]\nSteps=30\nGrainMultiplier=30\nNumberOfFrames=4\nUseIotaExtra=1\n"
                               "AnimationChangeStartRadius=0.5\nAnimationStartRadiusSine=0\n"
                               "AnimationStartRadiusLinear=1\n";
  }
  int Animate(const std::vector<std::string>& words, std::string* out = nullptr, std::string* err = nullptr) {
    const test::Outcome outcome = test::RunQuorl("animate", words);
    if (out) *out = outcome.out;
    if (err) *err = outcome.err;
    return outcome.status;
  }

  test::ScratchFolder scratch{"quorl-animate-test"};
  const fs::path dir = scratch.Path();
  fs::path settings;
};

TEST_F(AnimateCommand, EveryFrameIsSavedAndTheFramesDiffer) {
  std::string out;
  ASSERT_EQ(Animate({settings.string(), "--save", (dir / "one").string()}, &out), 0);
  std::vector<std::string> pngs;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) pngs.push_back(line);
  ASSERT_EQ(pngs.size(), 4u);
  std::set<std::string> pictures;
  for (const auto& png : pngs) {
    ASSERT_TRUE(fs::exists(png)) << png;
    EXPECT_TRUE(fs::exists(fs::path(png).replace_extension(".ini")));
    pictures.insert(ReadFile(png));
  }
  EXPECT_EQ(pictures.size(), 4u);  // the radius changes from frame to frame
}

TEST_F(AnimateCommand, FramesMadeInRangesEqualFramesMadeInOneRun) {
  const std::vector<std::string> common{"--frame-names", "--no-recipe"};
  auto run = [&](const char* sub, std::vector<std::string> extra) {
    std::vector<std::string> words{settings.string(), "--save", (dir / sub).string()};
    words.insert(words.end(), common.begin(), common.end());
    words.insert(words.end(), extra.begin(), extra.end());
    return Animate(words);
  };
  ASSERT_EQ(run("one", {}), 0);
  ASSERT_EQ(run("two", {"--frames", "1-2"}), 0);
  ASSERT_EQ(run("three", {"--frames", "3-4"}), 0);
  for (int f = 1; f <= 4; ++f) {
    const std::string name = FrameBaseName(f) + ".png";
    const fs::path part = dir / (f <= 2 ? "two" : "three") / name;
    ASSERT_TRUE(fs::exists(part)) << part;
    EXPECT_EQ(ReadFile(dir / "one" / name), ReadFile(part)) << name;
  }
  EXPECT_FALSE(fs::exists(dir / "two" / (FrameBaseName(3) + ".png")));
  EXPECT_EQ(FrameBaseName(7), "quorl_frame_0007");
}

// Frames this small are drawn side by side with several threads; they must
// be the frames one thread makes, listed and saved in frame order.
TEST_F(AnimateCommand, FramesDrawnSideBySideEqualFramesDrawnOneByOne) {
  std::string one, three;
  ASSERT_EQ(Animate({settings.string(), "--save", (dir / "one").string(), "--frame-names", "--no-recipe",
                     "--threads", "1"},
                    &one),
            0);
  ASSERT_EQ(Animate({settings.string(), "--save", (dir / "two").string(), "--frame-names", "--no-recipe",
                     "--threads", "3"},
                    &three),
            0);
  std::vector<std::string> a, b;
  std::istringstream la(one), lb(three);
  for (std::string line; std::getline(la, line);) a.push_back(line);
  for (std::string line; std::getline(lb, line);) b.push_back(line);
  ASSERT_EQ(a.size(), 4u);
  ASSERT_EQ(b.size(), 4u);
  for (std::size_t f = 0; f < 4; ++f) {
    EXPECT_EQ(fs::path(a[f]).filename(), fs::path(b[f]).filename()) << "frame " << f + 1 << " out of order";
    EXPECT_EQ(ReadFile(a[f]), ReadFile(b[f])) << "frame " << f + 1;
  }
}

TEST_F(AnimateCommand, StartFrameAndBadArguments) {
  std::string out;
  ASSERT_EQ(Animate({settings.string(), "--save", (dir / "one").string(), "--start-frame", "3"}, &out), 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2);
  for (std::vector<std::string> bad : {std::vector<std::string>{settings.string()},
                                       {"--save", dir.string()},
                                       {settings.string(), "--save", dir.string(), "--frames", "3-1"},
                                       {settings.string(), "--save", dir.string(), "--frames", "0"},
                                       {settings.string(), "--save", dir.string(), "--wobble"}}) {
    EXPECT_EQ(Animate(bad), 2);
  }
  EXPECT_EQ(Animate({settings.string(), "--save", (dir / "missing").string()}), 1);
}

}  // namespace
}  // namespace quorl
