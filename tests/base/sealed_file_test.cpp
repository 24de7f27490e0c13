#include "base/sealed_file.h"

#include <gtest/gtest.h>

#include <string>

namespace quorl {
namespace {

constexpr SealedKind kKind{"QUORLTS\x01", 2, "test file"};

std::string SomePayload() {
  std::string payload;
  for (int i = 0; i < 3000; ++i) payload += static_cast<char>((i * 7919) % 251);
  return payload;
}

TEST(SealedFile, PayloadComesBackExactly) {
  for (const std::string& payload : {std::string(), SomePayload(), std::string(1 << 20, '\0')}) {
    const std::string file = SealBytes(kKind, payload);
    std::string back, error;
    ASSERT_TRUE(UnsealBytes(kKind, file, back, error)) << error;
    EXPECT_EQ(back, payload);
  }
}

TEST(SealedFile, EveryTruncationIsRefused) {
  const std::string file = SealBytes(kKind, SomePayload());
  for (std::size_t length = 0; length < file.size(); ++length) {
    std::string back, error;
    EXPECT_FALSE(UnsealBytes(kKind, file.substr(0, length), back, error)) << length;
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(back.empty());
  }
}

TEST(SealedFile, EverySingleBitFlipIsRefused) {
  const std::string file = SealBytes(kKind, SomePayload());
  for (std::size_t at = 0; at < file.size(); ++at) {
    for (int bit = 0; bit < 8; bit += 3) {
      std::string damaged = file;
      damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
      std::string back, error;
      EXPECT_FALSE(UnsealBytes(kKind, damaged, back, error)) << at << " bit " << bit;
    }
  }
}

TEST(SealedFile, ANewerVersionIsRefusedAndSaysSo) {
  constexpr SealedKind newer{"QUORLTS\x01", 3, "test file"};
  const std::string file = SealBytes(newer, SomePayload());
  std::string back, error;
  EXPECT_FALSE(UnsealBytes(kKind, file, back, error));
  EXPECT_NE(error.find("newer version"), std::string::npos) << error;
  // An older version is read by the newer reader.
  EXPECT_TRUE(UnsealBytes(newer, SealBytes(kKind, "old"), back, error)) << error;
  EXPECT_EQ(back, "old");
}

TEST(SealedFile, AnotherKindOrALimitTooSmallIsRefused) {
  constexpr SealedKind other{"QUORLXX\x01", 2, "other file"};
  const std::string file = SealBytes(kKind, SomePayload());
  std::string back, error;
  EXPECT_FALSE(UnsealBytes(other, file, back, error));
  EXPECT_NE(error.find("not a Quorl other file"), std::string::npos) << error;
  EXPECT_FALSE(UnsealBytes(kKind, file, back, error, 100));
  EXPECT_TRUE(UnsealBytes(kKind, file, back, error, 3000));
}

}  // namespace
}  // namespace quorl
