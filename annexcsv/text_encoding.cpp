#include "annexcsv/text_encoding.h"

#include "declaration/cp1252.h"

namespace f7301 {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Bytes no text file in Windows-1252 holds: the zero byte (UTF-16 and binary
// files are full of it) and the five codes that Windows-1252 leaves
// undefined.
bool IsForeignToCp1252(char c) {
  switch (static_cast<unsigned char>(c)) {
    case 0x00:
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::string> DecodeAnnexText(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
  if (bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
    // A file that announces UTF-8 and breaks it is damaged, not Windows-1252.
    if (!IsValidUtf8(bytes)) return std::nullopt;
    return std::string(bytes);
  }
  if (IsValidUtf8(bytes)) return std::string(bytes);
  for (char c : bytes) {
    if (IsForeignToCp1252(c)) return std::nullopt;
  }
  return Cp1252ToUtf8(bytes);
}

}  // namespace f7301
