#include "app/help_command.h"

#include "app/command_line.h"
#include "app/command_list.h"
#include "app/help_text.h"
#include "app/suggestions.h"

namespace quorl {
namespace {

class HelpCommand : public Command {
 public:
  std::string Name() const override { return "help"; }
  std::string Summary() const override { return "show the help of quorl or of one command"; }
  std::string Usage() const override { return "[COMMAND]"; }
  void Register(OptionTable& table) override {
    table.Positional("COMMAND", topic_, "the command to explain", ValueKind::Choice, CommandNames());
  }
  bool Check(std::string& error) override {
    if (topic_.empty() || MakeCommand(topic_)) return true;
    const std::string nearest = NearestWord(topic_, CommandNames());
    error =
        "unknown command '" + topic_ + "'" + (nearest.empty() ? "" : " (did you mean '" + nearest + "'?)");
    return false;
  }
  int Run(CommandIo& io) override {
    if (topic_.empty()) {
      std::fputs(ProgramHelp().c_str(), io.out);
      return kExitDone;
    }
    std::unique_ptr<Command> command = MakeCommand(topic_);
    OptionTable table;
    bool help = false;
    command->Register(table);
    RegisterHelpOption(table, help);
    std::fputs(CommandHelp(*command, table).c_str(), io.out);
    return kExitDone;
  }

 private:
  std::string topic_;
};

}  // namespace

std::unique_ptr<Command> MakeHelpCommand() {
  return std::make_unique<HelpCommand>();
}

}  // namespace quorl
