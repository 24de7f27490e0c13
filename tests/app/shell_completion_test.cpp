// The completion scripts: each shell accepts its script, and bash's offers
// the commands, options and values of the option tables.
#include "app/shell_completion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/app_test_support.h"
#include "support/process_runner.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

bool HaveShell(const std::string& shell) {
  return std::system(("command -v " + shell + " >/dev/null 2>&1").c_str()) == 0;
}

class ShellCompletion : public ::testing::Test {
 protected:
  // Runs `shell -c script` with the output captured.
  test::Outcome Shell(const std::string& shell, const std::string& script) {
    const fs::path file = dir / "script";
    test::WriteFile(file, script);
    const fs::path out = dir / "out", err = dir / "err";
    const int raw =
        std::system((shell + " " + file.string() + " >" + out.string() + " 2>" + err.string()).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFile(out), test::ReadFile(err)};
  }

  // What bash's completion offers for the words, the last being completed.
  std::string BashOffers(const std::string& words) {
    const fs::path completion = dir / "quorl.bash";
    test::WriteFile(completion, BashCompletion());
    const test::Outcome outcome =
        Shell("bash", "cd " + dir.string() + "\nsource " + completion.string() + "\nCOMP_WORDS=(" + words +
                          ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_quorl\necho \"${COMPREPLY[*]}\"\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return outcome.out;
  }

  test::ScratchFolder scratch{"quorl-completion"};
  const fs::path dir = scratch.Path();
};

TEST_F(ShellCompletion, EveryShellReadsItsScript) {
  for (const std::string shell : {"bash", "zsh", "fish"}) {
    if (!HaveShell(shell)) continue;
    const fs::path file = dir / ("quorl." + shell);
    test::WriteFile(file, CompletionScript(shell));
    const int raw = std::system((shell + " -n " + file.string() + " 2>" + (dir / "err").string()).c_str());
    EXPECT_EQ(raw, 0) << shell << ": " << test::ReadFile(dir / "err");
  }
  EXPECT_EQ(CompletionScript("tcsh"), "");
}

TEST_F(ShellCompletion, BashOffersCommandsOptionsAndValues) {
  if (!HaveShell("bash")) GTEST_SKIP() << "no bash";
  fs::create_directories(dir / "pictures");
  test::WriteFile(dir / "scene.ini", "");
  EXPECT_EQ(BashOffers("quorl ren"), "render\n");
  EXPECT_EQ(BashOffers("quorl render --thr"), "--threads\n");
  EXPECT_EQ(BashOffers("quorl render --style l"), "line lissajous\n");
  EXPECT_EQ(BashOffers("quorl animate --progress ''"), "bar line none\n");
  EXPECT_EQ(BashOffers("quorl render --save pic"), "pictures\n");
  EXPECT_EQ(BashOffers("quorl render sce"), "scene.ini\n");
  EXPECT_EQ(BashOffers("quorl completion ''"), "bash zsh fish\n");
  // "--style=l": bash splits the word at the '='.
  EXPECT_EQ(BashOffers("quorl render --style = l"), "line lissajous\n");
}

}  // namespace
}  // namespace quorl
