// SHA-256 digests (OpenSSL's libcrypto), as lower-case hex text: they name
// the pictures a recipe was drawn with and the pixels it must give.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorl {

// A digest fed piece by piece.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, std::size_t size);
  void Update(std::string_view text) { Update(text.data(), text.size()); }
  // 64 hex digits; the object is spent afterwards.
  std::string FinishHex();

 private:
  void* context_;  // EVP_MD_CTX
};

std::string Sha256Hex(std::string_view bytes);

// True for 64 hex digits.
bool LooksLikeSha256Hex(std::string_view text);

}  // namespace quorl
