#include "app/command_line.h"

#include <filesystem>
#include <memory>

#include "app/command_list.h"
#include "app/help_text.h"
#include "app/suggestions.h"

namespace quorl {

namespace fs = std::filesystem;

bool OpensWindow(const std::vector<std::string>& args) {
  if (args.empty()) return true;
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-' || MakeCommand(args[0])) return false;
  std::error_code ec;
  return fs::is_regular_file(args[0], ec);
}

std::string VersionLine() {
  return "quorl " QUORL_VERSION;
}

int UsageError(CommandIo& io, const std::string& command, const std::string& what) {
  const std::string who = command.empty() ? "quorl" : "quorl " + command;
  if (what.find("did you mean") != std::string::npos) {
    std::fprintf(io.err, "%s: %s\n", who.c_str(), what.c_str());
  } else {
    std::fprintf(io.err, "%s: %s; see '%s --help'\n", who.c_str(), what.c_str(), who.c_str());
  }
  return kExitUsage;
}

int RunCommand(Command& command, const std::vector<std::string>& words, CommandIo& io) {
  OptionTable table;
  bool help = false;
  command.Register(table);
  RegisterHelpOption(table, help);
  const ParseOutcome parsed = ParseOptions(table, words);
  if (help) {
    std::fputs(CommandHelp(command, table).c_str(), io.out);
    return kExitDone;
  }
  if (!parsed.ok) return UsageError(io, command.Name(), parsed.error);
  std::string error;
  if (!command.Check(error)) return UsageError(io, command.Name(), error);
  return command.Run(io);
}

int RunCommandLine(const std::vector<std::string>& args, CommandIo& io) {
  if (args.empty()) {
    std::fputs(ProgramHelp().c_str(), io.err);
    return kExitUsage;
  }
  const std::string& first = args[0];
  if (!first.empty() && first[0] == '-' && first != "-") {
    OptionTable table;
    bool help = false, version = false;
    RegisterProgramOptions(table, help, version);
    const ParseOutcome parsed = ParseOptions(table, args);
    if (!parsed.ok) return UsageError(io, "", parsed.error);
    if (help) {
      std::fputs(ProgramHelp().c_str(), io.out);
    } else if (version) {
      std::fprintf(io.out, "%s\n", VersionLine().c_str());
    }
    return kExitDone;
  }
  if (std::unique_ptr<Command> command = MakeCommand(first))
    return RunCommand(*command, {args.begin() + 1, args.end()}, io);

  std::error_code ec;
  if (fs::is_directory(first, ec))
    return UsageError(io, "", "'" + first + "' is a folder; the window opens a settings file or a picture");
  if (fs::exists(first, ec))
    return UsageError(io, "", "the window opens one file, but more words follow '" + first + "'");
  const std::string nearest = NearestWord(first, CommandNames());
  if (!nearest.empty())
    return UsageError(io, "", "unknown command '" + first + "' (did you mean '" + nearest + "'?)");
  return UsageError(io, "", "unknown command or missing file '" + first + "'");
}

}  // namespace quorl
