#pragma once
// Windows-1252 is the encoding of every declaration XML, generated page and
// HTML copy: stored files and the administration's systems expect it. The
// browser and the desktop speak Unicode, so text is converted at that border.
#include <optional>
#include <string>
#include <string_view>

namespace f7301 {

// UTF-8 to Windows-1252. A character that Windows-1252 cannot hold, and any
// byte sequence that is not valid UTF-8, becomes "?". Lossy: text that is
// stored goes through one of the two below.
std::string Utf8ToCp1252(std::string_view utf8);

// UTF-8 to Windows-1252 without loss: nothing when a character cannot be held
// or the input is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252Exact(std::string_view utf8);

// UTF-8 to Windows-1252 for an HTML page: a character Windows-1252 cannot hold
// is written as a numeric character reference ("&#321;"), which a browser
// shows as that very character; a byte sequence that is not valid UTF-8 as
// the reference of the replacement character U+FFFD.
std::string Utf8ToCp1252Html(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// value, so every byte string survives a round trip.
std::string Cp1252ToUtf8(std::string_view cp1252);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// `text` with each byte that does not begin a well-formed UTF-8 character
// as U+FFFD: a file name shown or exported as text.
std::string WithReplacementCharacters(std::string_view text);

}  // namespace f7301
