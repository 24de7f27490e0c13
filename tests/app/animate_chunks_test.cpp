// Splitting a series over the tasks of a job array, and running a failed
// task again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "app/animate_command.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

TEST(ChunkOfFrames, SharesCoverEveryFrameOnceAndDifferByAtMostOne) {
  for (const auto& [first, last] : {std::pair{1, 12}, std::pair{1, 10}, std::pair{5, 11}, std::pair{1, 1}}) {
    for (int n = 1; n <= 15; ++n) {
      std::set<int> seen;
      int smallest = 1 << 30, largest = 0, next = first;
      for (int k = 1; k <= n; ++k) {
        const FrameRange share = ChunkOfFrames(first, last, k, n);
        const int size = share.last - share.first + 1;
        ASSERT_GE(size, 0);
        // The shares follow each other with no gap and no overlap.
        if (size > 0) {
          EXPECT_EQ(share.first, next) << first << ".." << last << " " << k << "/" << n;
          next = share.last + 1;
        }
        smallest = std::min(smallest, size);
        largest = std::max(largest, size);
        for (int f = share.first; f <= share.last; ++f) EXPECT_TRUE(seen.insert(f).second) << f;
      }
      EXPECT_EQ(static_cast<int>(seen.size()), last - first + 1) << first << ".." << last << " in " << n;
      EXPECT_LE(largest - smallest, 1);
    }
  }
  // Ten frames in four shares: floor((k-1)10/4)+1 .. floor(10k/4).
  const FrameRange second = ChunkOfFrames(1, 10, 2, 4);
  EXPECT_EQ(second.first, 3);
  EXPECT_EQ(second.last, 5);
  const FrameRange fourth = ChunkOfFrames(1, 10, 4, 4);
  EXPECT_EQ(fourth.first, 8);
  EXPECT_EQ(fourth.last, 10);
}

class AnimateChunks : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* sub : {"whole", "chunks", "again"}) fs::create_directories(dir / sub / "frames");
    // Twelve frames whose radius and angle move, with random scatter on so
    // that each frame's own random numbers matter.
    test::WriteFile(dir / "series.ini",
                    "[start]\nImageWidth=48\nImageHeight=36\n"
                    "[sine]\nSteps=25\nGrainMultiplier=25\nNumberOfFrames=12\nUseIotaExtra=1\n"
                    "AnimationChangeStartRadius=0.5\nAnimationChangeEndAngle=40\n");
  }
  // Each run saves into "frames" of its own folder, named the same way in
  // every run, as on the machines of a cluster: the saved settings name it.
  std::string Command(const std::string& folder, const std::string& extra) const {
    return "cd '" + (dir / folder).string() + "' && " + QUORL_BINARY +
           " animate ../series.ini --save frames --threads 1 " + extra + " >/dev/null 2>>../err.txt";
  }
  fs::path Frames(const std::string& folder) const { return dir / folder / "frames"; }
  std::set<std::string> Names(const std::string& folder) const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Frames(folder))) names.insert(entry.path().filename());
    return names;
  }

  test::ScratchFolder scratch{"quorl-chunks-test"};
  const fs::path dir = scratch.Path();
};

TEST_F(AnimateChunks, ThreeProcessesMakeTheSameFilesAsOneWholeRun) {
  ASSERT_EQ(std::system(Command("whole", "--frame-names").c_str()), 0) << ReadFile(dir / "err.txt");
  // The three tasks of a job array, at the same time.
  const std::string together = "(" + Command("chunks", "--chunk 1/3") + " & " +
                               Command("chunks", "--chunk 2/3") + " & " + Command("chunks", "--chunk 3/3") +
                               " & wait)";
  ASSERT_EQ(std::system(together.c_str()), 0) << ReadFile(dir / "err.txt");

  const std::set<std::string> names = Names("whole");
  ASSERT_EQ(names, Names("chunks"));
  int pngs = 0;
  std::set<std::string> pictures;
  for (const std::string& name : names) {
    // Pictures (with their recipe inside), settings and curve files alike.
    const std::string whole = ReadFile(Frames("whole") / name);
    EXPECT_TRUE(whole == ReadFile(Frames("chunks") / name)) << name << " differs";
    if (fs::path(name).extension() == ".png") {
      ++pngs;
      pictures.insert(whole);
    }
  }
  EXPECT_EQ(pngs, 12);
  EXPECT_EQ(pictures.size(), 12u);  // the frames do differ, so a mix-up would show
}

TEST_F(AnimateChunks, SkipExistingLeavesFinishedFramesAndRedoesUnfinishedOnes) {
  ASSERT_EQ(std::system(Command("again", "--chunk 2/3").c_str()), 0) << ReadFile(dir / "err.txt");
  const fs::path kept = Frames("again") / (FrameBaseName(5) + ".png");
  const fs::path unfinished = Frames("again") / (FrameBaseName(6) + ".png");
  const std::string frame6 = ReadFile(unfinished);
  ASSERT_FALSE(frame6.empty());
  // Frame 5 stands for a finished frame we can recognise; frame 6 lost its
  // settings file, as when a job is killed while saving it.
  test::WriteFile(kept, "finished earlier");
  fs::remove(Frames("again") / (FrameBaseName(6) + ".ini"));
  fs::remove(Frames("again") / (FrameBaseName(7) + ".png"));

  ASSERT_EQ(std::system(Command("again", "--chunk 2/3 --skip-existing").c_str()), 0)
      << ReadFile(dir / "err.txt");
  EXPECT_EQ(ReadFile(kept), "finished earlier");
  EXPECT_EQ(ReadFile(unfinished), frame6);
  EXPECT_TRUE(fs::exists(Frames("again") / (FrameBaseName(6) + ".ini")));
  EXPECT_TRUE(fs::exists(Frames("again") / (FrameBaseName(7) + ".png")));
  // Only the second share: frames 5 to 8.
  EXPECT_FALSE(fs::exists(Frames("again") / (FrameBaseName(4) + ".png")));
  EXPECT_FALSE(fs::exists(Frames("again") / (FrameBaseName(9) + ".png")));
}

TEST_F(AnimateChunks, BadChunksAreRefused) {
  for (const char* bad : {"0/3", "4/3", "3", "1/0", "a/b", "1/"}) {
    const test::Outcome outcome = test::RunQuorl(
        "animate", {(dir / "series.ini").string(), "--save", Frames("again").string(), "--chunk", bad});
    EXPECT_EQ(outcome.status, 2) << bad;
    EXPECT_NE(outcome.err.find("--chunk"), std::string::npos) << outcome.err;
  }
  EXPECT_TRUE(Names("again").empty());
  // More tasks than frames: the extra tasks have nothing to do and succeed.
  ASSERT_EQ(std::system(Command("again", "--frames 2 --chunk 4/5").c_str()), 0) << ReadFile(dir / "err.txt");
  EXPECT_TRUE(Names("again").empty());
}

}  // namespace
}  // namespace quorl
