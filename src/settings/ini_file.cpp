#include "settings/ini_file.h"

#include <algorithm>

#include "base/atomic_file.h"
#include "base/paths.h"
#include "settings/settings_text.h"

namespace quorl {
namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string WithoutLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '\n' && c != '\r') out += c;
  return out;
}

std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

IniFile::Line IniFile::Parse(std::string raw) {
  Line line;
  const std::string_view text = Trim(raw);
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    const std::string_view inner =
        text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    line.kind = Kind::Section;
    line.name = Lower(Trim(inner));
  } else if (!text.empty() && text.front() != ';') {
    const std::size_t equals = text.find('=');
    if (equals != std::string_view::npos) {
      line.kind = Kind::Key;
      line.name = Lower(Trim(text.substr(0, equals)));
      line.value = std::string(Trim(text.substr(equals + 1)));
    }
  }
  line.raw = std::move(raw);
  return line;
}

void IniFile::LoadText(std::string_view bytes) {
  // Byte-order marks, UTF-16 and CR-only line ends, as editors leave them.
  const std::string normalised = NormaliseSettingsText(bytes);
  std::string_view text = normalised;
  lines_.clear();
  crlf_ = false;
  bool first = true;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view piece = text.substr(0, end);
    if (!piece.empty() && piece.back() == '\r') {
      piece.remove_suffix(1);
      if (first) crlf_ = true;
    }
    if (end != std::string_view::npos) first = false;
    lines_.push_back(Parse(std::string(piece)));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool IniFile::Load(const std::string& path, std::string* error) {
  lines_.clear();
  crlf_ = false;
  if (!FileExists(path)) return true;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  LoadText(bytes);
  return true;
}

std::size_t IniFile::FindSection(std::string_view lowerName) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && lines_[i].name == lowerName) return i;
  return npos;
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const std::size_t header = FindSection(Lower(Trim(section)));
  if (header == npos) return std::nullopt;
  const std::string name = Lower(Trim(key));
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Kind::Key && lines_[i].name == name) {
      const std::string& v = lines_[i].value;
      return v.size() > kMaxValueLength ? v.substr(0, kMaxValueLength) : v;
    }
  }
  return std::nullopt;
}

std::string IniFile::Get(std::string_view section, std::string_view key, std::string_view fallback) const {
  if (auto v = Find(section, key)) return *v;
  return std::string(fallback);
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string sectionName(Trim(section));
  const std::string keyName(Trim(key));
  Line entry = Parse(keyName + "=" + WithoutLineBreaks(value));

  std::size_t header = FindSection(Lower(sectionName));
  if (header == npos) {
    lines_.push_back(Parse("[" + sectionName + "]"));
    lines_.push_back(std::move(entry));
    return;
  }
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Kind::Key && lines_[i].name == entry.name) {
      lines_[i] = std::move(entry);
      return;
    }
  }
  // After the last non-blank line of the section, so blank lines that
  // separate it from the next section stay where they are.
  std::size_t at = end;
  while (at > header + 1 && Trim(lines_[at - 1].raw).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

std::string IniFile::Text() const {
  const char* eol = crlf_ ? "\r\n" : "\n";
  std::string out;
  for (const Line& line : lines_) {
    out += line.raw;
    out += eol;
  }
  return out;
}

bool IniFile::Save(const std::string& path, std::string* error) const {
  const std::string folder = ParentFolder(path);
  if (!folder.empty() && !FolderExists(folder)) MakeFolders(folder);
  return WriteFileAtomically(path, Text(), error);
}

}  // namespace quorl
