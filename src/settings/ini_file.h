// A small INI text layer: sections of "key=value" lines, looked up by name
// without regard to letter case and to blanks around the names. The whole
// file is held in memory; lines that are not touched are written back as they
// were, so the other styles' sections survive every write.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorl {

class IniFile {
 public:
  // The longest value handed out; longer values are cut (the platform's
  // profile reader returned at most this many characters).
  static constexpr std::size_t kMaxValueLength = 2047;

  // Reads `path`. Nothing at the path, or something that is not a regular
  // file, gives an empty file and true. False (and an empty file) only when
  // a regular file exists but cannot be read: writing over it would lose it.
  bool Load(const std::string& path, std::string* error = nullptr);
  // Takes the text itself (settings embedded elsewhere, tests), in UTF-8 or
  // UTF-16, with any line ends.
  void LoadText(std::string_view bytes);

  // The value of `key` in `section`, or nothing when either is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const;

  // Replaces the key where it stands, or adds it after the last line of its
  // section, or adds the section at the end of the file. Line breaks in the
  // value cannot be stored and are dropped.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;
  // Writes Text() atomically, creating the folder when needed.
  bool Save(const std::string& path, std::string* error = nullptr) const;

 private:
  enum class Kind { Other, Section, Key };
  struct Line {
    std::string raw;
    Kind kind = Kind::Other;
    std::string name;   // lower case, blanks trimmed
    std::string value;  // keys only, blanks trimmed
  };

  static Line Parse(std::string raw);
  // Index of the section's header line, or npos.
  std::size_t FindSection(std::string_view lowerName) const;
  // One past the last line of the section that starts at `header`.
  std::size_t SectionEnd(std::size_t header) const;

  std::vector<Line> lines_;
  bool crlf_ = false;
};

}  // namespace quorl
