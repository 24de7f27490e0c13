// The bytes of a settings file as the text the reader parses: a UTF-8
// byte-order mark skipped, UTF-16 converted to UTF-8, lone CR line ends read
// as LF (CRLF stays: the INI layer writes it back as it found it).
#pragma once

#include <string>
#include <string_view>

namespace quorl {

std::string NormaliseSettingsText(std::string_view bytes);

// Whether normalised text can be a settings file: empty or blank, or text
// without NUL bytes that has a "[section]" line or a "key=value" line. False
// with the reason otherwise ("it holds binary data", ...).
bool LooksLikeSettingsText(std::string_view text, std::string& reason);

}  // namespace quorl
