#include "draft/shown_text.h"

#include <cstdint>
#include <cstdio>

namespace f7301 {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

bool IsHidden(std::uint32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The character at `text[at]` and its length in bytes; length 0 when the
// bytes there are not a well-formed UTF-8 sequence.
std::pair<std::uint32_t, std::size_t> Decode(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return {0, 0};
  std::uint32_t c = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    c = (c << 6) | (byte(i) & 0x3F);
  }
  const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
  return {c, length};
}

}  // namespace

std::string ShownSafely(std::string_view utf8) {
  std::string shown;
  shown.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const auto [c, length] = Decode(utf8, at);
    if (length == 0) {
      shown += kReplacement;
      ++at;
      continue;
    }
    if (IsHidden(c)) {
      char code[16];
      std::snprintf(code, sizeof code, "[U+%04X]", static_cast<unsigned>(c));
      shown += code;
    } else {
      shown.append(utf8.substr(at, length));
    }
    at += length;
  }
  return shown;
}

std::string ShownShort(std::string_view utf8, std::size_t most) {
  std::string shown = ShownSafely(utf8);
  std::size_t characters = 0;
  for (std::size_t at = 0; at < shown.size(); ++at) {
    const bool starts = (static_cast<unsigned char>(shown[at]) & 0xC0) != 0x80;
    if (starts && ++characters > most) {
      shown.resize(at);
      return shown + "\xE2\x80\xA6";
    }
  }
  return shown;
}

}  // namespace f7301
