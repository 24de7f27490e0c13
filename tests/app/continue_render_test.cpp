// Stopping a render after a step, keeping its state, and going on from the
// state file later must give the very bytes of a render that never stopped.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/render_command.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;
using test::Outcome;
using test::ReadFile;

Outcome Render(const std::vector<std::string>& words) {
  return test::RunQuorl("render", words);
}

std::vector<fs::path> Scenes() {
  std::vector<fs::path> scenes;
  for (const auto& entry : fs::directory_iterator(fs::path(QUORL_SOURCE_DIR) / "tests/data/golden"))
    if (entry.path().extension() == ".ini") scenes.push_back(entry.path());
  std::sort(scenes.begin(), scenes.end());
  return scenes;
}

class ContinueRender : public ::testing::Test {
 protected:
  test::ScratchFolder scratch{"quorl-continue-test"};
  const fs::path dir = scratch.Path();
};

TEST_F(ContinueRender, EveryGoldenSceneStoppedAndContinuedMatchesAnUninterruptedRender) {
  const std::vector<fs::path> scenes = Scenes();
  ASSERT_GE(scenes.size(), 8u);
  for (const fs::path& scene : scenes) {
    const std::string whole = (dir / "whole.png").string(), state = (dir / "run.qstate").string(),
                      continued = (dir / "continued.png").string();
    ASSERT_EQ(Render({scene.string(), "-o", whole}).status, 0) << scene;
    for (const char* step : {"0", "37"}) {
      const Outcome stopped = Render({scene.string(), "--until-step", step, "--state-out", state});
      ASSERT_EQ(stopped.status, 0) << scene << stopped.err;
      const Outcome resumed = Render({state, "--continue", "--threads", "2", "-o", continued});
      ASSERT_EQ(resumed.status, 0) << scene << resumed.err;
      EXPECT_EQ(ReadFile(continued), ReadFile(whole)) << scene.filename() << " stopped after step " << step;
    }
  }
}

TEST_F(ContinueRender, AStateCanBeStoppedAgainAndTheBinaryGoesOnFromIt) {
  const fs::path scene = fs::path(QUORL_SOURCE_DIR) / "tests/data/golden/zarvk_scatter.ini";
  const std::string whole = (dir / "whole.png").string(), a = (dir / "a.qstate").string(),
                    b = (dir / "b.qstate").string(), continued = (dir / "continued.png").string();
  ASSERT_EQ(Render({scene.string(), "-o", whole}).status, 0);
  ASSERT_EQ(Render({scene.string(), "--until-step", "20", "--state-out", a}).status, 0);
  ASSERT_EQ(Render({a, "--continue", "--until-step", "90", "--state-out", b}).status, 0);
  const std::string command =
      std::string(QUORL_BINARY) + " render " + b + " --continue -o " + continued + " 2>/dev/null";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
  EXPECT_EQ(ReadFile(continued), ReadFile(whole));
}

TEST_F(ContinueRender, DamagedOrForeignStateFilesAreRefusedWithAMessage) {
  const fs::path scene = fs::path(QUORL_SOURCE_DIR) / "tests/data/golden/sine_default.ini";
  const std::string state = (dir / "run.qstate").string(), out = (dir / "out.png").string();
  ASSERT_EQ(Render({scene.string(), "--until-step", "3", "--state-out", state}).status, 0);
  const std::string good = ReadFile(state);
  const struct {
    std::string bytes;
    const char* says;
  } cases[] = {{good.substr(0, good.size() / 2), "cut short"},
               {good.substr(0, good.size() - 1) + static_cast<char>(good.back() ^ 4), "damaged"},
               {ReadFile(scene), "not a Quorl state file"}};
  for (const auto& c : cases) {
    test::WriteFile(state, c.bytes);
    const Outcome outcome = Render({state, "--continue", "-o", out});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(out));
  }
  // A state file carries its own recipe.
  EXPECT_EQ(Render({state, "--continue", "--set", "Steps=5", "-o", out}).status, 2);
}

}  // namespace
}  // namespace quorl
