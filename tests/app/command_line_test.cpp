// The command line as a user meets it: each case runs the binary with an
// argument vector and checks the exit status, standard output, the first
// line of standard error and the files left in the test's folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/app_test_support.h"
#include "support/process_runner.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;
using test::Outcome;

struct Case {
  std::vector<std::string> args;  // "{d}" stands for the test's folder
  int status;
  std::string out;       // standard output contains this ("" : anything)
  std::string errFirst;  // the first line of standard error contains this ("" : stderr is empty)
  std::vector<std::string> files = {};  // files made in the folder, besides the inputs
  test::ProcessOptions process = {};
};

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir / "scene.ini",
                    "[start]\nImageWidth=48\nImageHeight=40\n[sine]\nSteps=40\nGrainMultiplier=40\n"
                    "NumberOfFrames=3\n");
    fs::create_directories(dir / "frames");
    inputs = Listing();
  }

  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
      names.insert(fs::relative(entry.path(), dir).string());
    return names;
  }

  std::string Expand(std::string text) const {
    for (size_t at; (at = text.find("{d}")) != std::string::npos;) text.replace(at, 3, dir.string());
    return text;
  }

  void Check(const Case& c) {
    std::vector<std::string> args;
    std::string shown;
    for (const std::string& a : c.args) {
      args.push_back(Expand(a));
      shown += " " + a;
    }
    test::ProcessOptions process = c.process;
    if (!process.stdinFile.empty()) process.stdinFile = Expand(process.stdinFile);
    const Outcome outcome = test::RunProgram(args, dir, process);
    SCOPED_TRACE("quorl" + shown);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    if (!c.out.empty()) {
      EXPECT_NE(outcome.out.find(Expand(c.out)), std::string::npos) << outcome.out;
    }
    if (c.errFirst.empty()) {
      EXPECT_EQ(outcome.err, "");
    } else {
      EXPECT_NE(test::FirstLine(outcome.err).find(Expand(c.errFirst)), std::string::npos) << outcome.err;
    }
    // Usage errors and failures are one line each, never the whole help.
    if (c.status != 0) {
      EXPECT_LE(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 2) << outcome.err;
    }
    std::set<std::string> made;
    for (const std::string& name : Listing())
      if (!inputs.count(name)) made.insert(name);
    EXPECT_EQ(made, std::set<std::string>(c.files.begin(), c.files.end()));
    // The next case starts from the inputs alone.
    for (const std::string& name : made) fs::remove_all(dir / name);
  }

  void CheckAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) Check(c);
  }

  test::ScratchFolder scratch{"quorl-cli"};
  const fs::path dir = scratch.Path();
  std::set<std::string> inputs;
};

TEST_F(CommandLine, WordsAndHelp) {
  test::ProcessOptions noDisplay;
  noDisplay.env = {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
  CheckAll({
      {{"--help"}, 0, "usage: quorl", ""},
      {{"-h"}, 0, "quorl COMMAND", ""},
      {{"help"}, 0, "commands:", ""},
      {{"help", "animate"}, 0, "usage: quorl animate", ""},
      {{"render", "--help"}, 0, "usage: quorl render", ""},
      {{"animate", "-h"}, 0, "--frames", ""},
      {{"-V"}, 0, "quorl ", ""},
      {{"--version"}, 0, "quorl ", ""},
      {{"rendr", "{d}/scene.ini", "-o", "{d}/y.png"},
       2,
       "",
       "quorl: unknown command 'rendr' (did you mean 'render'?)"},
      {{"help", "animat"}, 2, "", "unknown command 'animat' (did you mean 'animate'?)"},
      {{"frobnicate"}, 2, "", "quorl: unknown command or missing file 'frobnicate'; see 'quorl --help'"},
      {{"--frobnicate"}, 2, "", "quorl: unknown option '--frobnicate'"},
      {{"{d}"}, 2, "", "is a folder"},
      {{"{d}/scene.ini", "extra"}, 2, "", "more words follow"},
      // No display: the window says so instead of aborting.
      {{}, 1, "", "no display", {}, noDisplay},
      {{"{d}/scene.ini"}, 1, "", "no display", {}, noDisplay},
  });
}

TEST_F(CommandLine, OptionForms) {
  CheckAll({
      {{"render", "{d}/scene.ini", "--threads=2", "-o{d}/a.png"}, 0, "", "", {"a.png"}},
      {{"render", "--threads", "1", "--output={d}/a.png", "{d}/scene.ini"}, 0, "", "", {"a.png"}},
      {{"render", "-o", "{d}/-a.png", "--", "{d}/scene.ini"}, 0, "", "", {"-a.png"}},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--thread", "2"},
       2,
       "",
       "quorl render: unknown option '--thread' (did you mean '--threads'?)"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--frobnicate"},
       2,
       "",
       "unknown option '--frobnicate'; see 'quorl render --help'"},
      {{"render", "{d}/scene.ini", "{d}/scene.ini", "-o", "{d}/a.png"}, 2, "", "unexpected argument"},
      {{"render", "{d}/scene.ini", "-o"}, 2, "", "--output needs a value"},
      {{"render", "{d}/scene.ini"}, 2, "", "no output given"},
      {{"render", "-o", "{d}/a.png"}, 2, "", "no settings file given"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--threads", "0"},
       2,
       "",
       "--threads needs a whole number"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--seed=-3"}, 2, "", "--seed needs a whole number"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--style", "square"}, 2, "", "unknown style 'square'"},
      {{"render", "{d}/scene.ini", "-o", "{d}/a.png", "--set", "Steps"}, 2, "", "--set needs KEY=VALUE"},
      {{"render", "{d}/missing.ini", "-o", "{d}/a.png"}, 1, "", "missing.ini"},
      {{"animate", "{d}/scene.ini"}, 2, "", "no folder for the frames given"},
      {{"animate", "{d}/scene.ini", "--save", "{d}/frames", "--frames", "3-2"}, 2, "", "needs A <= B"},
  });
}

TEST_F(CommandLine, CompletionScripts) {
  CheckAll({
      {{"completion", "bash"}, 0, "complete -o filenames -F _quorl quorl", ""},
      {{"completion", "zsh"}, 0, "#compdef quorl", ""},
      {{"completion", "fish"}, 0, "complete -c quorl", ""},
      {{"completion", "tcsh"}, 2, "", "no completion for the shell 'tcsh'"},
      {{"completion"}, 2, "", "name the shell"},
  });
}

}  // namespace
}  // namespace quorl
