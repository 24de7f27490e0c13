#include "app/shell_completion.h"

#include <memory>
#include <vector>

#include "app/command_list.h"
#include "app/help_text.h"

namespace quorl {
namespace {

struct CommandRows {
  std::string name;
  std::string summary;
  std::vector<OptionRow> rows;
};

std::vector<CommandRows> AllRows() {
  std::vector<CommandRows> all;
  for (const std::unique_ptr<Command>& command : MakeCommands()) {
    OptionTable table;
    bool help = false;
    command->Register(table);
    RegisterHelpOption(table, help);
    all.push_back({command->Name(), command->Summary(), table.Rows()});
  }
  return all;
}

std::vector<OptionRow> ProgramRows() {
  OptionTable table;
  bool help = false, version = false;
  RegisterProgramOptions(table, help, version);
  return table.Rows();
}

std::string Join(const std::vector<std::string>& words, const std::string& between = " ") {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : between) + w;
  return text;
}

std::vector<std::string> Spellings(const OptionRow& row) {
  std::vector<std::string> spellings;
  for (const std::string& s : row.ShortNames()) spellings.push_back("-" + s);
  for (const std::string& l : row.LongNames()) spellings.push_back("--" + l);
  return spellings;
}

// The help's first clause: completion menus have one short line.
std::string ShortHelp(const std::string& help) {
  size_t end = help.size();
  for (const char* stop : {"; ", ". ", " (", ": "}) end = std::min(end, help.find(stop));
  std::string text = help.substr(0, end);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string SingleQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// ---- bash

std::string BashValueCompletion(const OptionRow& row) {
  switch (row.kind) {
    case ValueKind::File:
      return "COMPREPLY=($(compgen -f -- \"$cur\"))";
    case ValueKind::Folder:
      return "COMPREPLY=($(compgen -d -- \"$cur\"))";
    case ValueKind::Choice:
      return "COMPREPLY=($(compgen -W " + SingleQuoted(Join(row.choices)) + " -- \"$cur\"))";
    default:
      return "COMPREPLY=()";
  }
}

// ---- zsh

std::string ZshEscaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '[' || c == ']' || c == ':' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string ZshAction(const OptionRow& row) {
  switch (row.kind) {
    case ValueKind::File:
      return "_files";
    case ValueKind::Folder:
      return "_files -/";
    case ValueKind::Choice:
      return "(" + Join(row.choices) + ")";
    default:
      return " ";
  }
}

std::string ZshOptionLine(const OptionRow& row) {
  const std::string help = ZshEscaped(ShortHelp(row.help));
  if (row.positional) return SingleQuoted("1:" + help + ":" + ZshAction(row));
  const std::vector<std::string> spellings = Spellings(row);
  std::vector<std::string> forms;
  for (const std::string& s : spellings) {
    if (row.valueName.empty()) {
      forms.push_back(s);
    } else {
      forms.push_back(s + (s.size() == 2 ? "+" : "="));
    }
  }
  std::string line;
  if (row.repeatable) {
    line = "'*'";
  } else if (spellings.size() > 1) {
    line = SingleQuoted("(" + Join(spellings) + ")");
  }
  line += forms.size() > 1 ? "{" + Join(forms, ",") + "}" : forms[0];
  std::string tail = "[" + help + "]";
  if (!row.valueName.empty()) tail += ":" + ZshEscaped(row.valueName) + ":" + ZshAction(row);
  return line + SingleQuoted(tail);
}

// ---- fish

std::string FishOption(const std::string& command, const OptionRow& row) {
  std::string line = "complete -c quorl -n " + SingleQuoted("__fish_seen_subcommand_from " + command);
  if (row.positional) {
    if (row.kind == ValueKind::Choice) return line + " -x -a " + SingleQuoted(Join(row.choices));
    if (row.kind == ValueKind::Folder) return line + " -x -a '(__fish_complete_directories)'";
    return line + " -F";
  }
  for (const std::string& s : row.ShortNames()) line += " -s " + s;
  for (const std::string& l : row.LongNames()) line += " -l " + l;
  if (!row.valueName.empty()) {
    switch (row.kind) {
      case ValueKind::File:
        line += " -r -F";
        break;
      case ValueKind::Folder:
        line += " -x -a '(__fish_complete_directories)'";
        break;
      case ValueKind::Choice:
        line += " -x -a " + SingleQuoted(Join(row.choices));
        break;
      default:
        line += " -x";
    }
  }
  std::string help = ShortHelp(row.help);
  std::string escaped;
  for (char c : help) escaped += (c == '\'' || c == '\\') ? std::string("\\") + c : std::string(1, c);
  return line + " -d '" + escaped + "'";
}

}  // namespace

std::string BashCompletion() {
  const std::vector<CommandRows> all = AllRows();
  std::vector<std::string> names;
  for (const CommandRows& c : all) names.push_back(c.name);
  std::vector<std::string> programOptions;
  for (const OptionRow& row : ProgramRows())
    for (const std::string& s : Spellings(row)) programOptions.push_back(s);

  std::string s =
      "# bash completion for quorl; made by `quorl completion bash`.\n"
      "_quorl() {\n"
      "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
      "  # \"--opt=value\": bash splits at the '='.\n"
      "  if [[ $cur == = ]]; then cur=''; fi\n"
      "  if [[ $prev == = && $COMP_CWORD -gt 1 ]]; then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n"
      "  if [[ $COMP_CWORD -eq 1 ]]; then\n"
      "    if [[ $cur == -* ]]; then\n"
      "      COMPREPLY=($(compgen -W " +
      SingleQuoted(Join(programOptions)) +
      " -- \"$cur\"))\n"
      "    else\n"
      "      COMPREPLY=($(compgen -W " +
      SingleQuoted(Join(names)) +
      " -- \"$cur\") $(compgen -f -- \"$cur\"))\n"
      "    fi\n"
      "    return\n"
      "  fi\n"
      "  case ${COMP_WORDS[1]} in\n";
  for (const CommandRows& command : all) {
    s += "    " + command.name + ")\n      case $prev in\n";
    std::vector<std::string> spellings;
    const OptionRow* positional = nullptr;
    for (const OptionRow& row : command.rows) {
      if (row.positional) {
        positional = &row;
        continue;
      }
      for (const std::string& sp : Spellings(row)) spellings.push_back(sp);
      if (row.valueName.empty()) continue;
      s += "        " + Join(Spellings(row), "|") + ") " + BashValueCompletion(row) + "; return ;;\n";
    }
    s += "      esac\n";
    s += "      if [[ $cur == -* ]]; then\n";
    s += "        COMPREPLY=($(compgen -W " + SingleQuoted(Join(spellings)) + " -- \"$cur\"))\n";
    s += "      else\n";
    s += "        " + (positional ? BashValueCompletion(*positional) : std::string("COMPREPLY=()")) + "\n";
    s += "      fi\n      ;;\n";
  }
  s += "  esac\n"
       "}\n"
       "complete -o filenames -F _quorl quorl\n";
  return s;
}

std::string ZshCompletion() {
  const std::vector<CommandRows> all = AllRows();
  std::string s =
      "#compdef quorl\n"
      "# zsh completion for quorl; made by `quorl completion zsh`.\n"
      "_quorl() {\n"
      "  local -a commands\n"
      "  commands=(\n";
  for (const CommandRows& c : all) s += "    " + SingleQuoted(c.name + ":" + ZshEscaped(c.summary)) + "\n";
  s += "  )\n"
       "  if (( CURRENT == 2 )); then\n"
       "    _describe 'command' commands\n"
       "    _files\n"
       "    return\n"
       "  fi\n"
       "  local command=$words[2]\n"
       "  shift words\n"
       "  (( CURRENT-- ))\n"
       "  case $command in\n";
  for (const CommandRows& command : all) {
    s += "    " + command.name + ")\n      _arguments -s";
    for (const OptionRow& row : command.rows) s += " \\\n        " + ZshOptionLine(row);
    s += "\n      ;;\n";
  }
  s += "  esac\n"
       "}\n"
       "if [[ $funcstack[1] == _quorl ]]; then\n"
       "  _quorl \"$@\"\n"
       "else\n"
       "  compdef _quorl quorl\n"
       "fi\n";
  return s;
}

std::string FishCompletion() {
  const std::vector<CommandRows> all = AllRows();
  std::string s =
      "# fish completion for quorl; made by `quorl completion fish`.\n"
      "complete -c quorl -f\n"
      "complete -c quorl -n __fish_use_subcommand -F\n";
  for (const OptionRow& row : ProgramRows()) {
    std::string line = "complete -c quorl -n __fish_use_subcommand";
    for (const std::string& sh : row.ShortNames()) line += " -s " + sh;
    for (const std::string& l : row.LongNames()) line += " -l " + l;
    s += line + " -d " + SingleQuoted(ShortHelp(row.help)) + "\n";
  }
  for (const CommandRows& c : all) {
    std::string summary;
    for (char ch : c.summary)
      summary += (ch == '\'' || ch == '\\') ? std::string("\\") + ch : std::string(1, ch);
    s += "complete -c quorl -n __fish_use_subcommand -a " + c.name + " -d '" + summary + "'\n";
  }
  for (const CommandRows& c : all)
    for (const OptionRow& row : c.rows) s += FishOption(c.name, row) + "\n";
  return s;
}

std::string CompletionScript(const std::string& shell) {
  if (shell == "bash") return BashCompletion();
  if (shell == "zsh") return ZshCompletion();
  if (shell == "fish") return FishCompletion();
  return {};
}

}  // namespace quorl
