#include "settings/settings_file.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <type_traits>
#include <variant>

#include "base/number_text.h"
#include "base/paths.h"
#include "settings/field_ranges.h"
#include "settings/ini_file.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

constexpr const char* kDefaultStyle = "sine";
// A folded tool window is this high; no window is read smaller.
constexpr int kMinimumWindowHeight = 50;
// How far a window may reach off the right or bottom edge of the screen.
constexpr int kScreenMargin = 50;

const char* SectionName(const KeyDescriptor& row, const std::string& style) {
  switch (row.section) {
    case KeySection::Start:
      return kStartSection;
    case KeySection::Forms:
      return kFormsSection;
    case KeySection::Style:
      break;
  }
  return style.c_str();
}

template <class T>
T& Field(ParameterSet& params, const KeyDescriptor& row) {
  return params.*std::get<T ParameterSet::*>(row.member);
}

template <class T>
const T& Field(const ParameterSet& params, const KeyDescriptor& row) {
  return params.*std::get<T ParameterSet::*>(row.member);
}

int ScreenLimit(int extent) {
  return static_cast<int>(std::max<long long>(INT_MIN, static_cast<long long>(extent) - kScreenMargin));
}

// The larger of 0 and the smaller of the value and the limit.
int Corrector(int value, int limit) {
  return std::max(0, std::min(value, limit));
}

void ReadRow(const IniFile& ini, const KeyDescriptor& row, const std::string& style,
             const ParameterSet& defaults, ParameterSet& params, bool presentOnly) {
  if (row.Has(kStyleName) || row.Has(kNotRead) || row.type == KeyType::Unread ||
      row.type == KeyType::BoolAgain)
    return;
  if (presentOnly && !ini.Find(SectionName(row, style), row.key)) return;
  if (row.Has(kNotReadSetDefault)) {
    if (presentOnly) return;
    std::visit(
        [&](auto member) {
          if constexpr (!std::is_same_v<decltype(member), std::monostate>) params.*member = defaults.*member;
        },
        row.member);
    return;
  }
  const std::optional<std::string> text = ini.Find(SectionName(row, style), row.key);
  switch (row.type) {
    case KeyType::Int:
    case KeyType::IntAsFloat: {
      const std::optional<int> v = text ? ParseInt(*text) : std::nullopt;
      Field<int>(params, row) = v ? *v : Field<int>(defaults, row);
      break;
    }
    case KeyType::Bool: {
      const std::optional<int> v = text ? ParseInt(*text) : std::nullopt;
      Field<bool>(params, row) = v ? *v != 0 : Field<bool>(defaults, row);
      break;
    }
    case KeyType::Float: {
      const std::optional<double> v = text ? ParseFloat(*text) : std::nullopt;
      Field<double>(params, row) = v ? *v : Field<double>(defaults, row);
      break;
    }
    case KeyType::String:
      if (text) {
        Field<std::string>(params, row) = *text;
      } else {
        Field<std::string>(params, row) =
            row.Has(kPictureFolderDefault) ? DefaultPictureFolder() : Field<std::string>(defaults, row);
      }
      break;
    case KeyType::BoolAgain:
    case KeyType::Unread:
      break;
  }
}

// Keeps every tool window on the screen and no taller than its full height.
void CorrectGeometry(ParameterSet& params, const ParameterSet& defaults, const ReadIniOutcome& limits) {
  for (const KeyDescriptor& row : SettingsTable()) {
    if (row.Has(kWindowLeft)) {
      int& v = Field<int>(params, row);
      v = Corrector(v, limits.maxFormLeft);
    } else if (row.Has(kWindowTop)) {
      int& v = Field<int>(params, row);
      v = Corrector(v, limits.maxFormTop);
    } else if (row.Has(kWindowHeight)) {
      int& v = Field<int>(params, row);
      v = std::max(kMinimumWindowHeight, std::min(v, Field<int>(defaults, row)));
    }
  }
}

ReadIniOutcome ReadFrom(const IniFile& ini, ParameterSet& params, const std::string& style, ScreenSize screen,
                        bool presentOnly = false) {
  ReadIniOutcome outcome;
  outcome.maxFormLeft = ScreenLimit(screen.width);
  outcome.maxFormTop = ScreenLimit(screen.height);
  const ParameterSet defaults;
  for (const KeyDescriptor& row : SettingsTable()) ReadRow(ini, row, style, defaults, params, presentOnly);
  CorrectGeometry(params, defaults, outcome);
  KeepCanvasSizeInRange(params);
  // Only the eight functions exist; any other number would pick none.
  if (params.FunctionNumber < 0 || params.FunctionNumber > 7) params.FunctionNumber = defaults.FunctionNumber;
  outcome.maximized = params.QuorlMaximized;
  return outcome;
}

std::string ValueText(const KeyDescriptor& row, const ParameterSet& params) {
  switch (row.type) {
    case KeyType::Int:
      return FormatInt(Field<int>(params, row));
    case KeyType::Bool:
    case KeyType::BoolAgain:
      return Field<bool>(params, row) ? "1" : "0";
    case KeyType::Float:
      return FormatFloat(Field<double>(params, row));
    case KeyType::IntAsFloat:
      return FormatFloat(static_cast<double>(Field<int>(params, row)));
    case KeyType::String:
      return Field<std::string>(params, row);
    case KeyType::Unread:
      break;
  }
  return "0";
}

enum class KeysFor { Program, SavedSet, Recipe };

// The keys that only say where the author keeps files: a recipe leaves them out.
bool LocatesAuthorsFiles(const KeyDescriptor& row) {
  const std::string_view key = row.key;
  return key == "SaveDir" || key == "LoadDir" || key == "LoadSourceImageDir";
}

bool NamesAPicture(const KeyDescriptor& row) {
  const std::string_view key = row.key;
  return key == "SourceImageFileName" || key == "BackgroundImageFileName";
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every row in table order, so a file written from nothing lists the
// sections as start, the style, forms and the keys as the table does.
void Store(IniFile& ini, const ParameterSet& params, const std::string& style,
           KeysFor keys = KeysFor::Program) {
  for (const KeyDescriptor& row : SettingsTable()) {
    if (keys == KeysFor::Program && row.Has(kSavedSetOnly)) continue;
    if (keys == KeysFor::Recipe) {
      if (row.section == KeySection::Forms || LocatesAuthorsFiles(row)) continue;
      if (NamesAPicture(row)) {
        ini.Set(SectionName(row, style), row.key, FileNamePart(ValueText(row, params)));
        continue;
      }
    }
    ini.Set(SectionName(row, style), row.key, ValueText(row, params));
  }
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

std::string UnableToWriteMessage(const std::string& path) {
  return "Unable to write to " + path;
}

ReadIniOutcome ReadIniFile(ParameterSet& params, const std::string& style, const std::string& fileName,
                           ScreenSize screen) {
  IniFile ini;
  ini.Load(fileName.empty() ? ProgramSettingsFile() : fileName);
  return ReadFrom(ini, params, style, screen);
}

ReadIniOutcome ReadIniText(ParameterSet& params, const std::string& style, std::string_view text,
                           ScreenSize screen) {
  IniFile ini;
  ini.LoadText(text);
  return ReadFrom(ini, params, style, screen);
}

std::string SettingsFileForSuffix(ParameterSet& params, const std::string& suffix) {
  if (suffix.empty()) return ProgramSettingsFile();
  if (!FolderExists(params.SaveDir)) {
    params.SaveDir = DefaultPictureFolder();
    MakeFolders(params.SaveDir);
  }
  return JoinPath(params.SaveDir, std::string(kProgramName) + suffix + ".ini");
}

bool WriteIniFile(ParameterSet& params, const std::string& style, const std::string& suffix, Host& host) {
  const std::string path = SettingsFileForSuffix(params, suffix);
  return WriteIniFileTo(params, style, path, host);
}

bool WriteIniFileTo(const ParameterSet& params, const std::string& style, const std::string& path,
                    Host& host) {
  // The other styles' sections live in the same file: a file that exists but
  // cannot be read must not be replaced by one holding only this style.
  IniFile ini;
  bool written = ini.Load(path);
  if (written) {
    Store(ini, params, style);
    written = ini.Save(path);
  }
  if (!written) host.ShowMessage(UnableToWriteMessage(path));
  return written;
}

std::string WriteIniText(const ParameterSet& params, const std::string& style) {
  IniFile ini;
  Store(ini, params, style);
  return ini.Text();
}

std::string WriteSavedSetText(const ParameterSet& params, const std::string& style) {
  IniFile ini;
  Store(ini, params, style, KeysFor::SavedSet);
  return ini.Text();
}

std::string WriteRecipeText(const ParameterSet& params, const std::string& style) {
  IniFile ini;
  Store(ini, params, style, KeysFor::Recipe);
  return ini.Text();
}

ReadIniOutcome ReadPresentKeys(ParameterSet& params, const std::string& style, std::string_view text,
                               ScreenSize screen) {
  IniFile ini;
  ini.LoadText(text);
  return ReadFrom(ini, params, style, screen, true);
}

std::string ReadIniCurrentStyle(const std::string& fileName) {
  IniFile ini;
  ini.Load(fileName.empty() ? ProgramSettingsFile() : fileName);
  // An empty name would select the section "[]" and match no function.
  const std::string style = ini.Get(kStartSection, "style", kDefaultStyle);
  return style.empty() ? kDefaultStyle : style;
}

bool WriteIniCurrentStyle(const std::string& style, std::string* message, const std::string& fileName) {
  const std::string path = fileName.empty() ? ProgramSettingsFile() : fileName;
  IniFile ini;
  bool written = ini.Load(path);
  if (written) {
    ini.Set(kStartSection, "style", style);
    written = ini.Save(path);
  }
  if (!written && message) *message = UnableToWriteMessage(path);
  return written;
}

}  // namespace quorl
