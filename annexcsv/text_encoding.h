#pragma once
// The text of an annex file as a spreadsheet or billing system writes it:
// UTF-8 with or without a byte-order mark, or Windows-1252.
#include <optional>
#include <string>
#include <string_view>

namespace f7301 {

// The file's text in UTF-8, without the byte-order mark; nothing when the
// bytes are neither UTF-8 nor Windows-1252 (a damaged file, UTF-16, binary).
std::optional<std::string> DecodeAnnexText(std::string_view bytes);

}  // namespace f7301
