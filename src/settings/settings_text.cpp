#include "settings/settings_text.h"

#include <cstdint>

namespace quorl {
namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  const auto unit = [&](size_t i) -> std::uint32_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  constexpr std::uint32_t kReplacement = 0xFFFD;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const std::uint32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00) {
      if (i + 3 < bytes.size()) {
        const std::uint32_t low = unit(i + 2);
        if (low >= 0xDC00 && low < 0xE000) {
          AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
          i += 2;
          continue;
        }
      }
      AppendUtf8(out, kReplacement);
    } else if (u >= 0xDC00 && u < 0xE000) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

// UTF-16 without a byte-order mark: ASCII text with every other byte zero.
// Returns 1 for little-endian, 2 for big-endian, 0 for neither.
int Utf16WithoutMark(std::string_view bytes) {
  const size_t n = std::min<size_t>(bytes.size() & ~size_t{1}, 256);
  if (n < 4) return 0;
  bool little = true, big = true;
  for (size_t i = 0; i < n; i += 2) {
    const bool evenZero = bytes[i] == '\0', oddZero = bytes[i + 1] == '\0';
    little = little && !evenZero && oddZero;
    big = big && evenZero && !oddZero;
  }
  return little ? 1 : big ? 2 : 0;
}

}  // namespace

std::string NormaliseSettingsText(std::string_view bytes) {
  std::string text;
  const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  if (starts("\xEF\xBB\xBF")) {
    text = bytes.substr(3);
  } else if (starts("\xFF\xFE")) {
    text = Utf16ToUtf8(bytes.substr(2), false);
  } else if (starts("\xFE\xFF")) {
    text = Utf16ToUtf8(bytes.substr(2), true);
  } else if (const int utf16 = Utf16WithoutMark(bytes)) {
    text = Utf16ToUtf8(bytes, utf16 == 2);
  } else {
    text = bytes;
  }
  // A CR that no LF follows ends a line too.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) text[i] = '\n';
  }
  return text;
}

bool LooksLikeSettingsText(std::string_view text, std::string& reason) {
  if (text.find('\0') != std::string_view::npos) {
    reason = "it holds binary data";
    return false;
  }
  bool blank = true;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) continue;
    blank = false;
    line.remove_prefix(first);
    const size_t last = line.find_last_not_of(" \t\r");
    line = line.substr(0, last + 1);
    if (line.front() == '[' && line.back() == ']') return true;
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && equals > 0) return true;
  }
  if (blank) return true;
  reason = "it has neither a [section] line nor a key=value line";
  return false;
}

}  // namespace quorl
