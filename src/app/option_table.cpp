#include "app/option_table.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "app/suggestions.h"

namespace quorl {
namespace {

std::vector<std::string> SplitNames(const std::string& names) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= names.size()) {
    const size_t comma = names.find(',', start);
    const size_t end = comma == std::string::npos ? names.size() : comma;
    if (end > start) parts.push_back(names.substr(start, end - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// The option word of an unknown "--name=value" is "--name".
std::string OptionWord(const std::string& word) {
  const size_t equals = word.find('=');
  return equals == std::string::npos ? word : word.substr(0, equals);
}

// CLI11's own message names the option first ("--output: 1 required TEXT
// missing"); ours says what is wrong in words.
std::string DescribeParseError(const CLI::ParseError& e) {
  const std::string what = e.what();
  const size_t colon = what.find(':');
  const std::string name = colon == std::string::npos ? "" : what.substr(0, colon);
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) && !name.empty()) return name + " needs a value";
  return what;
}

}  // namespace

std::vector<std::string> OptionRow::LongNames() const {
  std::vector<std::string> longs;
  for (const std::string& name : SplitNames(names))
    if (name.rfind("--", 0) == 0) longs.push_back(name.substr(2));
  return longs;
}

std::vector<std::string> OptionRow::ShortNames() const {
  std::vector<std::string> shorts;
  for (const std::string& name : SplitNames(names))
    if (name.size() == 2 && name[0] == '-' && name[1] != '-') shorts.push_back(name.substr(1));
  return shorts;
}

std::string OptionRow::Synopsis() const {
  if (positional) return names;
  std::string line;
  for (const std::string& s : ShortNames()) line += "-" + s + ", ";
  const std::vector<std::string> longs = LongNames();
  for (size_t i = 0; i < longs.size(); ++i) line += (i ? ", --" : "--") + longs[i];
  if (!valueName.empty()) line += " " + valueName;
  return line;
}

void OptionTable::Flag(const std::string& names, bool& target, const std::string& help) {
  OptionRow row;
  row.names = names;
  row.help = help;
  row.flag = &target;
  rows_.push_back(std::move(row));
}

void OptionTable::Value(const std::string& names, std::string& target, const std::string& valueName,
                        const std::string& help, ValueKind kind, std::vector<std::string> choices) {
  OptionRow row;
  row.names = names;
  row.valueName = valueName;
  row.help = help;
  row.kind = kind;
  row.choices = std::move(choices);
  row.text = &target;
  rows_.push_back(std::move(row));
}

void OptionTable::Values(const std::string& names, std::vector<std::string>& target,
                         const std::string& valueName, const std::string& help, ValueKind kind) {
  OptionRow row;
  row.names = names;
  row.valueName = valueName;
  row.help = help;
  row.kind = kind;
  row.repeatable = true;
  row.list = &target;
  rows_.push_back(std::move(row));
}

void OptionTable::Positional(const std::string& name, std::string& target, const std::string& help,
                             ValueKind kind, std::vector<std::string> choices) {
  OptionRow row;
  row.names = name;
  row.valueName = name;
  row.help = help;
  row.kind = kind;
  row.choices = std::move(choices);
  row.positional = true;
  row.text = &target;
  rows_.push_back(std::move(row));
}

void OptionTable::Positionals(const std::string& name, std::vector<std::string>& target,
                              const std::string& help, ValueKind kind) {
  OptionRow row;
  row.names = name;
  row.valueName = name;
  row.help = help;
  row.kind = kind;
  row.positional = true;
  row.repeatable = true;
  row.list = &target;
  rows_.push_back(std::move(row));
}

std::vector<std::string> OptionTable::Spellings() const {
  std::vector<std::string> spellings;
  for (const OptionRow& row : rows_) {
    for (const std::string& l : row.LongNames()) spellings.push_back("--" + l);
    for (const std::string& s : row.ShortNames()) spellings.push_back("-" + s);
  }
  return spellings;
}

ParseOutcome ParseOptions(const OptionTable& table, const std::vector<std::string>& words) {
  CLI::App app;
  app.set_help_flag();  // the command's own -h row handles help
  app.allow_extras();
  for (const OptionRow& row : table.Rows()) {
    CLI::Option* option = nullptr;
    if (row.flag) {
      option = app.add_flag(row.names, *row.flag);
    } else if (row.list && row.positional) {
      option = app.add_option(row.names, *row.list)->expected(1, -1);
    } else if (row.list) {
      option = app.add_option(row.names, *row.list)->type_size(1)->expected(1);
      option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    } else {
      option = app.add_option(row.names, *row.text);
      // As with most Unix tools, the last of a repeated option counts.
      option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    }
    (void)option;
  }
  std::vector<std::string> reversed(words.rbegin(), words.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return {false, DescribeParseError(e)};
  }
  // CLI11 keeps the "--" that ends the options among the words it did not
  // use; every word after it is an ordinary one.
  bool optionsEnded = false;
  for (const std::string& extra : app.remaining()) {
    if (extra == "--" && !optionsEnded) {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && extra.size() > 1 && extra[0] == '-') {
      const std::string word = OptionWord(extra);
      const std::string nearest = NearestWord(word, table.Spellings());
      return {false, "unknown option '" + word + "'" +
                         (nearest.empty() ? "" : " (did you mean '" + nearest + "'?)")};
    }
    return {false, "unexpected argument '" + extra + "'"};
  }
  return {true, ""};
}

}  // namespace quorl
