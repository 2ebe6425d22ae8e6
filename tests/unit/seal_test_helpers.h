#pragma once
// Shared by the seal tests: fixed moments, hand-built sealed texts and a way
// to make a payload whose checksum is a chosen value.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "declaration/base64_coder.h"
#include "declaration/cipher.h"
#include "declaration/crc32.h"
#include "declaration/seal_keys.h"
#include "declaration/time_stamp.h"

namespace f7301::sealtest {

// Saturday 5 March 2011, 14:30:15.250.
inline constexpr LocalTime kMoment{2011, 3, 5, 14, 30, 15, 250, 6, 63};

inline LocalTime MillisecondLater(LocalTime t) {
  t.millisecond += 1;
  return t;
}

// The text with every letter of the alphabet shown as "a": its line shape.
inline std::string Shape(std::string_view text) {
  std::string shape;
  for (char c : text) shape += (c == '\r' || c == '\n' || c == '=') ? c : 'a';
  return shape;
}

// A sealed text built by hand with the fixed keys, from the plain stamp
// digits, the plain check digits and the payload.
inline std::string HandSealed(const std::string& stampDigits, const std::string& checkDigits,
                              std::string_view payload) {
  std::string first = Encipher(checkDigits, kCheckKey);
  first += payload;
  std::string blockKey = stampDigits;
  blockKey += kBodyKey;
  std::string block = Encipher(stampDigits, kStampKey);
  block += Encipher(first, blockKey);
  return CBase64Coder().Encode(block, true);
}

inline std::string Padded(std::uint32_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  return std::string(width - digits.size(), '0') + digits;
}

// Four bytes that, appended to `prefix`, make its CRC-32 equal `target`.
// The register after four more bytes is T[i1]<<24 ^ T[i2]<<16 ^ T[i3]<<8 ^
// T[i4] whatever came before, and the low bytes of the table entries are all
// different, so the four table indexes follow byte by byte from the target.
inline std::string ForgeCrcSuffix(std::string_view prefix, std::uint32_t target) {
  std::array<std::uint32_t, 256> table{};
  std::array<int, 256> byLowByte{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t v = i << 24;
    for (int bit = 0; bit < 8; ++bit) v = (v & 0x80000000u) ? (v << 1) ^ 0x04C11DB7u : v << 1;
    table[i] = v;
    byLowByte[v & 0xFFu] = static_cast<int>(i);
  }
  std::uint32_t want = target ^ 0xFFFFFFFFu;
  std::array<std::uint32_t, 4> index{};
  for (int k = 3; k >= 0; --k) {
    index[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(byLowByte[want & 0xFFu]);
    want = (want ^ table[index[static_cast<std::size_t>(k)]]) >> 8;
  }
  std::uint32_t v = 0xFFFFFFFFu;
  for (char c : prefix) v = (v << 8) ^ table[((v >> 24) ^ static_cast<unsigned char>(c)) & 0xFFu];
  std::string suffix;
  for (std::uint32_t i : index) {
    const std::uint32_t b = (v >> 24) ^ i;
    suffix += static_cast<char>(b);
    v = (v << 8) ^ table[i];
  }
  return suffix;
}

}  // namespace f7301::sealtest
