#include "declaration/base64_coder.h"

#include <array>
#include <cstdint>
#include <utility>

namespace f7301 {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+*";

constexpr std::uint8_t kNotALetter = 0xFF;
constexpr std::uint8_t kBlank = 0xFE;

constexpr std::array<std::uint8_t, 256> MakeReverseTable() {
  std::array<std::uint8_t, 256> table{};
  for (auto& entry : table) entry = kNotALetter;
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  for (unsigned char blank : {'\t', '\n', '\r', ' '}) table[blank] = kBlank;
  return table;
}

constexpr std::array<std::uint8_t, 256> kReverse = MakeReverseTable();

char Letter(unsigned value) { return kAlphabet[value & 63u]; }

unsigned Byte(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

}  // namespace

std::size_t CBase64Coder::EncodedLength(std::size_t count, bool finalBreak) const {
  const std::size_t groups = count / 3;
  // A line ends after the group that brings it to the line length or past it.
  const std::size_t groupsPerLine =
      m_lineLength > 0 ? (static_cast<std::size_t>(m_lineLength) + 3) / 4 : 0;
  const std::size_t lines = groupsPerLine > 0 ? groups / groupsPerLine : 0;
  return 4 * groups + 2 * lines + (finalBreak ? 2 : 0) + (count % 3 != 0 ? 4 : 0);
}

std::string CBase64Coder::Encode(std::string_view bytes, bool finalBreak) const {
  std::string text(EncodedLength(bytes.size(), finalBreak), '\0');
  char* out = text.data();
  const std::size_t full = bytes.size() / 3 * 3;
  int column = 0;
  for (std::size_t i = 0; i < full; i += 3) {
    const unsigned b0 = Byte(bytes, i), b1 = Byte(bytes, i + 1), b2 = Byte(bytes, i + 2);
    *out++ = Letter(b0 >> 2);
    *out++ = Letter(((b0 & 3u) << 4) | (b1 >> 4));
    *out++ = Letter(((b1 & 15u) << 2) | (b2 >> 6));
    *out++ = Letter(b2);
    column += 4;
    if (m_lineLength > 0 && column >= m_lineLength) {
      column = 0;
      *out++ = '\r';
      *out++ = '\n';
    }
  }
  if (finalBreak) {
    *out++ = '\r';
    *out++ = '\n';
  }
  const std::size_t left = bytes.size() - full;
  if (left == 1) {
    const unsigned b0 = Byte(bytes, full);
    *out++ = Letter(b0 >> 2);
    *out++ = Letter((b0 & 3u) << 4);
    *out++ = '=';
    *out++ = '=';
  } else if (left == 2) {
    const unsigned b0 = Byte(bytes, full), b1 = Byte(bytes, full + 1);
    *out++ = Letter(b0 >> 2);
    *out++ = Letter(((b0 & 3u) << 4) | (b1 >> 4));
    *out++ = Letter((b1 & 15u) << 2);
    *out++ = '=';
  }
  return text;
}

DecodeResult CBase64Coder::Decode(std::string_view text, std::string& bytes) const {
  // Every letter gives 6 bits, so the bytes never outnumber the characters.
  std::string out(text.size(), '\0');
  std::size_t written = 0;
  unsigned accumulator = 0;
  int pending = 0;
  for (char c : text) {
    if (c == '=') break;
    const std::uint8_t value = kReverse[static_cast<unsigned char>(c)];
    if (value == kBlank) continue;
    if (value == kNotALetter) {
      bytes.clear();
      return DecodeResult::kInvalidText;
    }
    accumulator = ((accumulator << 6) | value) & 0xFFFFu;
    pending += 6;
    if (pending >= 8) {
      pending -= 8;
      out[written++] = static_cast<char>((accumulator >> pending) & 0xFFu);
    }
  }
  out.resize(written);
  bytes = std::move(out);
  return DecodeResult::kOk;
}

}  // namespace f7301
