// One command's options as a table of rows. The same rows drive parsing (by
// CLI11), `--help`, the "did you mean" suggestions, the shell completions
// and the README check, so an option is described exactly once.
//
// A command adds a row per option in its Register():
//   table.Value("-o,--output", output, "OUT", "the picture to write", ValueKind::File);
//   table.Flag("--bench", bench, "print the figures of the run");
// Values are taken as text and turned into numbers by the command's Check(),
// so every message about a bad value is our own.
#pragma once

#include <string>
#include <vector>

namespace quorl {

// What an option's value is; tells the shell completions what to offer.
enum class ValueKind { None, File, Folder, Number, Text, Choice };

struct OptionRow {
  // CLI11 names: "-o,--output", "--threads"; a positional's name ("SETTINGS").
  std::string names;
  std::string valueName;  // "OUT", "N"; empty for a flag
  std::string help;
  ValueKind kind = ValueKind::None;
  std::vector<std::string> choices;  // ValueKind::Choice
  bool positional = false;
  bool repeatable = false;
  // Where the parsed value goes (exactly one is set).
  bool* flag = nullptr;
  std::string* text = nullptr;
  std::vector<std::string>* list = nullptr;

  // "--output", "--threads" (without the dashes: "output").
  std::vector<std::string> LongNames() const;
  // "o" for "-o".
  std::vector<std::string> ShortNames() const;
  // "-o, --output OUT" as the help shows it.
  std::string Synopsis() const;
};

class OptionTable {
 public:
  void Flag(const std::string& names, bool& target, const std::string& help);
  void Value(const std::string& names, std::string& target, const std::string& valueName,
             const std::string& help, ValueKind kind = ValueKind::Text,
             std::vector<std::string> choices = {});
  // May be given many times; each value is appended.
  void Values(const std::string& names, std::vector<std::string>& target, const std::string& valueName,
              const std::string& help, ValueKind kind = ValueKind::Text);
  void Positional(const std::string& name, std::string& target, const std::string& help,
                  ValueKind kind = ValueKind::File, std::vector<std::string> choices = {});

  const std::vector<OptionRow>& Rows() const { return rows_; }
  // Every "--long" and "-s" spelling, for suggestions.
  std::vector<std::string> Spellings() const;

 private:
  std::vector<OptionRow> rows_;
};

struct ParseOutcome {
  bool ok = false;
  std::string error;  // one line, without the "quorl CMD: " prefix
};

// Parses `words` (the words after the command's name) into the table's
// targets: both "--threads 2" and "--threads=2", "-oFILE", "--" ending the
// options, "-" as an ordinary value. An unknown option is named with the
// nearest known spelling.
ParseOutcome ParseOptions(const OptionTable& table, const std::vector<std::string>& words);

}  // namespace quorl
