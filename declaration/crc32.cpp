#include "declaration/crc32.h"

#include <array>

namespace f7301 {
namespace {

constexpr std::uint32_t kPolynomial = 0x04C11DB7u;

constexpr std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i << 24;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 0x80000000u) ? (value << 1) ^ kPolynomial : value << 1;
    }
    table[i] = value;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t value = 0xFFFFFFFFu;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    value = (value << 8) ^ kTable[((value >> 24) ^ b) & 0xFFu];
  }
  return value ^ 0xFFFFFFFFu;
}

}  // namespace f7301
