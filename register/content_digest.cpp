#include "register/content_digest.h"

#include <nettle/sha2.h>

#include <algorithm>

namespace f7301 {

std::string ContentDigest(std::string_view bytes) {
  sha256_ctx context;
  sha256_init(&context);
  sha256_update(&context, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
  std::uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&context, sizeof digest, digest);
  constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * sizeof digest);
  for (std::uint8_t byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0x0F];
  }
  return text;
}

bool IsContentDigest(std::string_view text) {
  return text.size() == 2 * SHA256_DIGEST_SIZE && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

}  // namespace f7301
