// Thirty `quorl render --save DIR` processes at the same moment into one
// folder: thirty complete sets, none overwritten, and each settings file
// agrees with the recipe inside its own picture.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "canvas/png_recipe.h"
#include "support/app_test_support.h"
#include "support/recipe_test_support.h"

namespace quorl {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

TEST(ParallelSave, ThirtyRunsIntoOneFolderMakeThirtyCompleteSets) {
  test::ScratchFolder scratch{"quorl-parallel"};
  const fs::path dir = scratch.Path();
  fs::create_directories(dir / "out");
  constexpr int kRuns = 30;
  std::vector<pid_t> children;
  std::vector<fs::path> outputs;
  for (int i = 0; i < kRuns; ++i) {
    // Every run its own settings, so a settings file paired with another
    // run's picture would show.
    const fs::path ini = dir / ("s" + std::to_string(i) + ".ini");
    std::ofstream(ini) << "[start]\nImageWidth=24\nImageHeight=20\n[sine]\nSteps=" << (10 + i)
                       << "\nGrainMultiplier=20\nStartRadius=" << (50 + i) << "\n";
    outputs.push_back(dir / ("printed" + std::to_string(i) + ".txt"));
  }
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  for (int i = 0; i < kRuns; ++i) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(go[1]);
      char c;
      // All start together when the pipe closes.
      if (::read(go[0], &c, 1) < 0) ::_exit(9);
      const std::string ini = (dir / ("s" + std::to_string(i) + ".ini")).string();
      if (!std::freopen(outputs[i].c_str(), "w", stdout)) ::_exit(9);
      ::execl(QUORL_BINARY, "quorl", "render", ini.c_str(), "--threads", "1", "--save", (dir / "out").c_str(),
              static_cast<char*>(nullptr));
      ::_exit(9);
    }
    children.push_back(child);
  }
  ::close(go[0]);
  ::close(go[1]);
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  std::set<std::string> pictures;
  for (int i = 0; i < kRuns; ++i) {
    std::string printed = ReadFile(outputs[i]);
    ASSERT_FALSE(printed.empty()) << "run " << i << " printed no picture";
    printed.pop_back();
    pictures.insert(printed);
    const std::string base = printed.substr(0, printed.size() - 4);
    const std::string ini = ReadFile(base + ".ini");
    Recipe recipe;
    std::string error;
    ASSERT_TRUE(ReadPngRecipe(ReadFile(printed), recipe, error)) << printed << ": " << error;
    EXPECT_TRUE(test::RecipeAgreesWithSettings(recipe.settings, ini)) << printed;
    // And the picture is this run's own.
    EXPECT_NE(recipe.settings.find("StartRadius=" + std::to_string(50 + i) + "\n"), std::string::npos)
        << printed;
  }
  EXPECT_EQ(pictures.size(), static_cast<size_t>(kRuns));
  int pngs = 0, inis = 0, others = 0;
  for (const auto& e : fs::directory_iterator(dir / "out")) {
    const std::string ext = e.path().extension().string();
    (ext == ".png" ? pngs : ext == ".ini" ? inis : others) += 1;
  }
  EXPECT_EQ(pngs, kRuns);
  EXPECT_EQ(inis, kRuns);
  EXPECT_EQ(others, 0) << "reservations or temporaries were left";
}

}  // namespace
}  // namespace quorl
