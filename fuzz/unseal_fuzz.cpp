// Unseal must read any bytes at all without reading or writing outside
// them, and must never call a text valid unless its checksum holds. The
// same bytes, sealed as a payload, must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "declaration/base64_coder.h"
#include "declaration/crc32.h"
#include "declaration/seal.h"
#include "declaration/seal_keys.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void UnsealAnything(std::string_view text) {
  std::string block;
  std::uint32_t checksum = 1;
  const f7301::UnsealResult result = f7301::CSeal().Unseal(text, &block, &checksum);
  const int code = static_cast<int>(result);
  Check(code >= 0 && code <= 4);
  if (result == f7301::UnsealResult::kValid) {
    Check(block.size() > f7301::kCheckFieldLength);
    Check(checksum == f7301::Crc32(std::string_view(block).substr(f7301::kCheckFieldLength)));
  } else {
    Check(checksum == 0);
  }
  if (result != f7301::UnsealResult::kValid && result != f7301::UnsealResult::kChecksumMismatch) {
    Check(block.empty());
  }
}

void SealAndUnseal(std::string_view payload) {
  if (payload.empty()) return;
  f7301::LocalTime moment{2011, 3, 5, 14, 30, 15, 0, 6, 63};
  moment.millisecond = static_cast<int>(payload.size() % 1000);
  std::string sealed;
  Check(f7301::CSeal().Seal(payload, f7301::kBodyKey, f7301::kCheckKey, moment, sealed) ==
        sealed.size());
  std::string block;
  Check(f7301::CSeal().Unseal(sealed, &block, nullptr) == f7301::UnsealResult::kValid);
  Check(std::string_view(block).substr(f7301::kCheckFieldLength) == payload);

  std::string decoded;
  const f7301::CBase64Coder coder;
  Check(coder.Decode(coder.Encode(payload, false), decoded) == f7301::DecodeResult::kOk);
  Check(decoded == payload);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  UnsealAnything(bytes);
  SealAndUnseal(bytes);
  return 0;
}
