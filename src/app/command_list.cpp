#include "app/command_list.h"

#include "app/animate_command.h"
#include "app/completion_command.h"
#include "app/gallery_command.h"
#include "app/help_command.h"
#include "app/random_command.h"
#include "app/render_command.h"
#include "app/sweep_command.h"

namespace quorl {
namespace {

using Factory = std::unique_ptr<Command> (*)();

// One row per command, in the order `quorl --help` lists them.
// clang-format off
constexpr Factory kCommands[] = {
    MakeRenderCommand,
    MakeAnimateCommand,
    MakeGalleryCommand,
    MakeSweepCommand,
    MakeRandomCommand,
    MakeHelpCommand,
    MakeCompletionCommand,
};
// clang-format on

}  // namespace

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  for (Factory make : kCommands) commands.push_back(make());
  return commands;
}

std::unique_ptr<Command> MakeCommand(const std::string& name) {
  for (Factory make : kCommands) {
    std::unique_ptr<Command> command = make();
    if (command->Name() == name) return command;
  }
  return nullptr;
}

std::vector<std::string> CommandNames() {
  std::vector<std::string> names;
  for (Factory make : kCommands) names.push_back(make()->Name());
  return names;
}

}  // namespace quorl
