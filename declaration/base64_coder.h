#pragma once
// The text form of a sealed declaration: base-64 with "*" as the 64th letter
// (in place of "/"), lines of a fixed length ended by CR LF.
#include <string>
#include <string_view>

namespace f7301 {

enum class DecodeResult { kOk, kInvalidText };

class CBase64Coder {
 public:
  static constexpr int kSealLineLength = 360;

  // A line length of 0 or less writes no line breaks between groups.
  explicit CBase64Coder(int lineLength = kSealLineLength) : m_lineLength(lineLength) {}

  // Every 3 bytes become 4 letters; after each full line of letters CR LF
  // follows. With `finalBreak`, one more CR LF follows the last full group
  // (even right after a line break); the 1 or 2 bytes left over then come
  // last as one group ending in "==" or "=".
  std::string Encode(std::string_view bytes, bool finalBreak) const;

  // Reads letters until the end of `text` or its first "=", which ends the
  // reading. TAB, LF, CR and space are skipped; any other character that is
  // not a letter of the alphabet (a "/" or any byte outside ASCII included)
  // makes the whole text invalid and leaves `bytes` empty. Bits that do not
  // make a whole byte at the end are dropped.
  DecodeResult Decode(std::string_view text, std::string& bytes) const;

  // Exact length of Encode's text for `count` bytes.
  std::size_t EncodedLength(std::size_t count, bool finalBreak) const;

 private:
  int m_lineLength;
};

}  // namespace f7301
