#pragma once
// The three fixed keys of the declaration seal. They are part of the file
// format: every declaration file ever sealed can only be read with exactly
// these values, so they must never change (the golden seal test pins them).
#include <string_view>

namespace f7301 {

// Enciphers the 10 stamp checksum digits: 5 printable ASCII characters.
inline constexpr std::string_view kStampKey = "V~9=C";

// Enciphers the 30 payload checksum digits: 10 bytes from 1 to 32.
inline constexpr std::string_view kCheckKey{"\x05\x1F\x0B\x14\x12\x0E\x15\x11\x04\x03", 10};

// Follows the stamp digits in each file's block key: 25 bytes from 1 to 32.
inline constexpr std::string_view kBodyKey{
    "\x1C\x1A\x0E\x06\x03\x20\x14\x0B\x0E\x20\x11\x17\x08\x0C\x07\x0B\x03\x13\x1C\x0B\x04\x1B"
    "\x14\x04\x10",
    25};

}  // namespace f7301
