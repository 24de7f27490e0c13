#include "app/completion_command.h"

#include "app/shell_completion.h"

namespace quorl {
namespace {

class CompletionCommand : public Command {
 public:
  std::string Name() const override { return "completion"; }
  std::string Summary() const override { return "print the completion script of bash, zsh or fish"; }
  std::string Usage() const override { return "SHELL"; }
  std::string Description() const override {
    return "Prints a script that lets SHELL complete quorl's commands, options and file names. "
           "For one session: source <(quorl completion bash). Installed, the scripts go to "
           "/usr/share/bash-completion/completions/quorl, /usr/share/zsh/vendor-completions/_quorl "
           "and /usr/share/fish/vendor_completions.d/quorl.fish.";
  }
  void Register(OptionTable& table) override {
    table.Positional("SHELL", shell_, "bash, zsh or fish", ValueKind::Choice, {"bash", "zsh", "fish"});
  }
  bool Check(std::string& error) override {
    if (shell_.empty()) {
      error = "name the shell: bash, zsh or fish";
      return false;
    }
    if (CompletionScript(shell_).empty()) {
      error = "no completion for the shell '" + shell_ + "' (bash, zsh or fish)";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override {
    std::fputs(CompletionScript(shell_).c_str(), io.out);
    return kExitDone;
  }

 private:
  std::string shell_;
};

}  // namespace

std::unique_ptr<Command> MakeCompletionCommand() {
  return std::make_unique<CompletionCommand>();
}

}  // namespace quorl
