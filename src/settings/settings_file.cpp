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

// The two structs a settings file fills; every row's member is in one.
struct Target {
  ParameterSet& params;
  WindowLayout& layout;
};
struct ConstTarget {
  const ParameterSet& params;
  const WindowLayout& layout;
};

template <class T>
T& Field(Target target, const KeyDescriptor& row) {
  return *RowValue<T>(row, target.params, target.layout);
}

template <class T>
const T& Field(ConstTarget target, const KeyDescriptor& row) {
  return *RowValue<T>(row, target.params, target.layout);
}

int ScreenLimit(int extent) {
  return static_cast<int>(std::max<long long>(INT_MIN, static_cast<long long>(extent) - kScreenMargin));
}

// The larger of 0 and the smaller of the value and the limit.
int Corrector(int value, int limit) {
  return std::max(0, std::min(value, limit));
}

void CopyDefault(const KeyDescriptor& row, ConstTarget defaults, Target params) {
  switch (row.type) {
    case KeyType::Int:
    case KeyType::IntAsFloat:
      Field<int>(params, row) = Field<int>(defaults, row);
      break;
    case KeyType::Bool:
      Field<bool>(params, row) = Field<bool>(defaults, row);
      break;
    case KeyType::Float:
      Field<double>(params, row) = Field<double>(defaults, row);
      break;
    case KeyType::String:
      Field<std::string>(params, row) = Field<std::string>(defaults, row);
      break;
    case KeyType::BoolAgain:
    case KeyType::Unread:
      break;
  }
}

void ReadRow(const IniFile& ini, const KeyDescriptor& row, const std::string& style, ConstTarget defaults,
             Target params, bool presentOnly) {
  if (row.Has(kStyleName) || row.Has(kNotRead) || row.type == KeyType::Unread ||
      row.type == KeyType::BoolAgain)
    return;
  if (presentOnly && !ini.Find(SectionName(row, style), row.key)) return;
  if (row.Has(kNotReadSetDefault)) {
    if (presentOnly) return;
    CopyDefault(row, defaults, params);
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
void CorrectGeometry(WindowLayout& layout, const ReadIniOutcome& limits) {
  const WindowLayout defaults;
  for (const KeyDescriptor& row : SettingsTable()) {
    const auto* member = std::get_if<int WindowLayout::*>(&row.member);
    if (!member) continue;
    int& v = layout.*(*member);
    if (row.Has(kWindowLeft)) {
      v = Corrector(v, limits.maxFormLeft);
    } else if (row.Has(kWindowTop)) {
      v = Corrector(v, limits.maxFormTop);
    } else if (row.Has(kWindowHeight)) {
      v = std::max(kMinimumWindowHeight, std::min(v, defaults.*(*member)));
    }
  }
}

ReadIniOutcome ReadFrom(const IniFile& ini, ParameterSet& params, WindowLayout& layout,
                        const std::string& style, ScreenSize screen, bool presentOnly = false) {
  ReadIniOutcome outcome;
  outcome.maxFormLeft = ScreenLimit(screen.width);
  outcome.maxFormTop = ScreenLimit(screen.height);
  const ParameterSet defaultParams;
  const WindowLayout defaultLayout;
  for (const KeyDescriptor& row : SettingsTable())
    ReadRow(ini, row, style, {defaultParams, defaultLayout}, {params, layout}, presentOnly);
  CorrectGeometry(layout, outcome);
  KeepCanvasSizeInRange(params);
  // Only the eight functions exist; any other number would pick none.
  if (params.FunctionNumber < 0 || params.FunctionNumber > 7)
    params.FunctionNumber = defaultParams.FunctionNumber;
  outcome.maximized = layout.QuorlMaximized;
  return outcome;
}

std::string ValueText(const KeyDescriptor& row, ConstTarget params) {
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

// The window's layout and the folders that only say where the author keeps
// files: a recipe leaves them out.
bool IsLayoutRow(const KeyDescriptor& row) {
  return std::holds_alternative<int WindowLayout::*>(row.member) ||
         std::holds_alternative<bool WindowLayout::*>(row.member) ||
         std::holds_alternative<std::string WindowLayout::*>(row.member);
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
void Store(IniFile& ini, const ParameterSet& params, const WindowLayout& layout, const std::string& style,
           KeysFor keys = KeysFor::Program) {
  for (const KeyDescriptor& row : SettingsTable()) {
    if (keys == KeysFor::Program && row.Has(kSavedSetOnly)) continue;
    if (keys == KeysFor::Recipe) {
      if (row.section == KeySection::Forms || IsLayoutRow(row)) continue;
      if (NamesAPicture(row)) {
        ini.Set(SectionName(row, style), row.key, FileNamePart(ValueText(row, {params, layout})));
        continue;
      }
    }
    ini.Set(SectionName(row, style), row.key, ValueText(row, {params, layout}));
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

ReadIniOutcome ReadIniFile(ParameterSet& params, WindowLayout& layout, const std::string& style,
                           const std::string& fileName, ScreenSize screen) {
  IniFile ini;
  ini.Load(fileName.empty() ? ProgramSettingsFile() : fileName);
  return ReadFrom(ini, params, layout, style, screen);
}

ReadIniOutcome ReadIniText(ParameterSet& params, WindowLayout& layout, const std::string& style,
                           std::string_view text, ScreenSize screen) {
  IniFile ini;
  ini.LoadText(text);
  return ReadFrom(ini, params, layout, style, screen);
}

std::string SettingsFileForSuffix(WindowLayout& layout, const std::string& suffix) {
  if (suffix.empty()) return ProgramSettingsFile();
  if (!FolderExists(layout.SaveDir)) {
    layout.SaveDir = DefaultPictureFolder();
    MakeFolders(layout.SaveDir);
  }
  return JoinPath(layout.SaveDir, std::string(kProgramName) + suffix + ".ini");
}

bool WriteIniFile(const ParameterSet& params, WindowLayout& layout, const std::string& style,
                  const std::string& suffix, std::string* message) {
  const std::string path = SettingsFileForSuffix(layout, suffix);
  return WriteIniFileTo(params, layout, style, path, message);
}

bool WriteIniFileTo(const ParameterSet& params, const WindowLayout& layout, const std::string& style,
                    const std::string& path, std::string* message) {
  // The other styles' sections live in the same file: a file that exists but
  // cannot be read must not be replaced by one holding only this style.
  IniFile ini;
  bool written = ini.Load(path);
  if (written) {
    Store(ini, params, layout, style);
    written = ini.Save(path);
  }
  if (!written && message) *message = UnableToWriteMessage(path);
  return written;
}

std::string WriteIniText(const ParameterSet& params, const WindowLayout& layout, const std::string& style) {
  IniFile ini;
  Store(ini, params, layout, style);
  return ini.Text();
}

std::string WriteSavedSetText(const ParameterSet& params, const WindowLayout& layout,
                              const std::string& style) {
  IniFile ini;
  Store(ini, params, layout, style, KeysFor::SavedSet);
  return ini.Text();
}

std::string WriteRecipeText(const ParameterSet& params, const std::string& style) {
  IniFile ini;
  Store(ini, params, WindowLayout(), style, KeysFor::Recipe);
  return ini.Text();
}

ReadIniOutcome ReadPresentKeys(ParameterSet& params, const std::string& style, std::string_view text,
                               ScreenSize screen) {
  IniFile ini;
  ini.LoadText(text);
  // A recipe holds no layout: whatever the text says of one is not taken.
  WindowLayout ignored;
  return ReadFrom(ini, params, ignored, style, screen, true);
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
