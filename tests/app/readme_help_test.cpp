// The README's command-line section shows `quorl --help` and each command's
// help exactly as the program prints them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/command_list.h"
#include "app/help_text.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

std::string Indented(const std::string& text) {
  std::istringstream lines(text);
  std::string result;
  for (std::string line; std::getline(lines, line);) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    result += line.empty() ? "\n" : "    " + line + "\n";
  }
  return result;
}

TEST(ReadmeHelp, TheCommandLineSectionShowsEveryHelpAsPrinted) {
  std::string expected = "\n    $ quorl --help\n" + Indented(ProgramHelp());
  for (const std::unique_ptr<Command>& command : MakeCommands()) {
    OptionTable table;
    bool help = false;
    command->Register(table);
    RegisterHelpOption(table, help);
    expected += "\n    $ quorl " + command->Name() + " --help\n" + Indented(CommandHelp(*command, table));
  }
  expected += "\n";

  const std::string readme = test::ReadFile(std::string(QUORL_SOURCE_DIR) + "/README.md");
  const std::string begin = "<!-- quorl --help: made by tools/update-readme-help.sh -->\n";
  const std::string end = "<!-- end of quorl --help -->";
  const size_t from = readme.find(begin);
  const size_t to = readme.find(end);
  ASSERT_NE(from, std::string::npos) << "the README lacks its help section";
  ASSERT_NE(to, std::string::npos);
  const std::string shown = readme.substr(from + begin.size(), to - from - begin.size());
  EXPECT_EQ(shown, expected)
      << "the README's help differs from the program's: run tools/update-readme-help.sh";
}

}  // namespace
}  // namespace quorl
