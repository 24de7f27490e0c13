#include "app/help_text.h"

#include <memory>
#include <sstream>

#include "app/command_list.h"

namespace quorl {
namespace {

constexpr size_t kSynopsisColumn = 26;

// "  -o, --output OUT        the picture to write ..." with the help
// wrapped under itself.
std::string OptionLines(const std::vector<OptionRow>& rows) {
  std::string text;
  for (const OptionRow& row : rows) {
    std::string head = "  " + row.Synopsis();
    if (head.size() + 2 > kSynopsisColumn) {
      text += head + "\n" + WrapText(row.help, kSynopsisColumn);
      continue;
    }
    head.append(kSynopsisColumn - head.size(), ' ');
    const std::string body = WrapText(row.help, kSynopsisColumn);
    text += head + body.substr(kSynopsisColumn);
  }
  return text;
}

}  // namespace

std::string WrapText(const std::string& text, size_t indent, size_t width) {
  std::string result, line;
  const std::string margin(indent, ' ');
  std::istringstream paragraphs(text);
  std::string paragraph;
  bool first = true;
  while (std::getline(paragraphs, paragraph)) {
    if (paragraph.empty()) {
      if (!first) result += "\n";
      continue;
    }
    first = false;
    std::istringstream words(paragraph);
    std::string word;
    line.clear();
    while (words >> word) {
      if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
        result += margin + line + "\n";
        line.clear();
      }
      line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) result += margin + line + "\n";
  }
  return result;
}

void RegisterProgramOptions(OptionTable& table, bool& help, bool& version) {
  table.Flag("-h,--help", help, "show this help");
  table.Flag("-V,--version", version, "print the version");
}

void RegisterHelpOption(OptionTable& table, bool& help) {
  table.Flag("-h,--help", help, "show this help");
}

std::string ProgramHelp() {
  std::string text =
      "usage: quorl [FILE]                 open the window (with a settings file or\n"
      "                                    a picture saved by Quorl)\n"
      "       quorl COMMAND [options]      work without a window\n"
      "\n"
      "commands:\n";
  for (const std::unique_ptr<Command>& command : MakeCommands()) {
    std::string head = "  " + command->Name();
    head.append(head.size() < 14 ? 14 - head.size() : 1, ' ');
    text += head + WrapText(command->Summary(), 14).substr(14);
  }
  bool help = false, version = false;
  OptionTable table;
  RegisterProgramOptions(table, help, version);
  text += "\noptions:\n" + OptionLines(table.Rows());
  text +=
      "\nSee 'quorl COMMAND --help' for the options of a command. Exit status: 0\n"
      "done, 1 failed while running, 2 a bad command line.\n";
  return text;
}

std::string CommandHelp(const Command& command, const OptionTable& table) {
  std::string text = "usage: quorl " + command.Name() + " " + command.Usage() + "\n";
  const std::string description = command.Description();
  if (!description.empty()) text += "\n" + WrapText(description, 0);
  text += "\noptions:\n" + OptionLines(table.Rows());
  return text;
}

}  // namespace quorl
