// Settings files as editors and other systems leave them: a byte-order
// mark, UTF-16, CR-only line ends; and files that are no settings at all.
#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/parameter_set.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

std::string Utf16(const std::string& ascii, bool bigEndian, bool mark) {
  std::string out = mark ? (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) : std::string();
  for (char c : ascii) {
    if (bigEndian) out += '\0';
    out += c;
    if (!bigEndian) out += '\0';
  }
  return out;
}

// Each encoding of the same file reads as the same settings.
TEST(SettingsText, EveryEncodingReadsTheSameValues) {
  const std::string plain = "[start]\nImageWidth=321\n[sine]\nSteps=77\nStartMaxRed=12\n";
  std::string crOnly = plain, crlf;
  for (char& c : crOnly) c = c == '\n' ? '\r' : c;
  for (char c : plain) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (const std::string& bytes :
       {plain, "\xEF\xBB\xBF" + plain, crOnly, crlf, Utf16(plain, false, true), Utf16(plain, true, true),
        Utf16(plain, false, false), Utf16(crOnly, true, false)}) {
    ParameterSet params;
    WindowLayout layout;
    ReadIniText(params, layout, "sine", bytes);
    EXPECT_EQ(params.ImageWidth, 321);
    EXPECT_EQ(params.Steps, 77);
    EXPECT_EQ(params.StartMaxRed, 12);
  }
}

TEST(SettingsText, Utf16BeyondAsciiBecomesUtf8) {
  // "é" and a surrogate pair (U+1F600), little-endian with a mark.
  const std::string bytes = std::string("\xFF\xFE", 2) + std::string("a\0", 2) + std::string("\xE9\x00", 2) +
                            std::string("\x3D\xD8\x00\xDE", 4) + std::string("\x00\xDC", 2);
  EXPECT_EQ(NormaliseSettingsText(bytes), "a\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

TEST(SettingsText, OnlySettingsLookLikeSettings) {
  std::string why;
  EXPECT_TRUE(LooksLikeSettingsText("", why));
  EXPECT_TRUE(LooksLikeSettingsText("\n  \n", why));
  EXPECT_TRUE(LooksLikeSettingsText("; a comment\n[sine]\n", why));
  EXPECT_TRUE(LooksLikeSettingsText("Steps=5", why));
  EXPECT_FALSE(LooksLikeSettingsText("hello world\n", why));
  EXPECT_NE(why.find("[section]"), std::string::npos);
  EXPECT_FALSE(LooksLikeSettingsText(std::string("[sine]\nSteps=1\n\0\0", 16), why));
  EXPECT_EQ(why, "it holds binary data");
  EXPECT_FALSE(LooksLikeSettingsText("=5\n", why));  // a key needs a name
}

TEST(SettingsText, NoKeyReachesUndefinedBehaviour) {
  ParameterSet params;
  WindowLayout layout;
  ReadIniText(params, layout, "sine",
              "[sine]\nFunctionNumber=2147483647\nSteps=99999999999999999999\nStartRadius=-2147483649\n"
              "EndRadius=0x7fffffff\n");
  EXPECT_EQ(params.FunctionNumber, ParameterSet().FunctionNumber);
  EXPECT_EQ(params.Steps, ParameterSet().Steps);
  EXPECT_EQ(params.StartRadius, ParameterSet().StartRadius);
  EXPECT_EQ(params.EndRadius, 2147483647);
  for (const char* number : {"-1", "8"}) {
    ReadIniText(params, layout, "sine", std::string("[sine]\nFunctionNumber=") + number + "\n");
    EXPECT_EQ(params.FunctionNumber, 0) << number;
  }
  ReadIniText(params, layout, "sine", "[sine]\nFunctionNumber=7\n");
  EXPECT_EQ(params.FunctionNumber, 7);
}

}  // namespace
}  // namespace quorl
