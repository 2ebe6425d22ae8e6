#pragma once
// The sealed declaration file: the declaration XML behind a checksummed,
// time-dependent cipher, written as base-64 text.
//
// Sealed block (N + 40 bytes for an XML of N bytes):
//   0..9    stamp field: the 10 digits of the CRC of (stamp text + XML),
//           enciphered with the stamp key;
//   10..39  check field: the 30 digits of the CRC of the XML, enciphered with
//           the check key;
//   40..    the XML.
// Bytes 10 to the end are enciphered once more, in one run, with the block
// key: the 10 stamp digits followed by the body key. The stamp text is the
// moment of sealing (ddmmyyyyhhmmssmmm), so no two files share a block key.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "declaration/cipher.h"
#include "declaration/time_stamp.h"

namespace f7301 {

enum class UnsealResult : int {
  kValid = 0,             // decoded, deciphered, checksum matches
  kChecksumMismatch = 1,  // wrong keys or an altered file
  kNoPayload = 2,         // decoded block of 40 bytes or fewer
  kNoMemory = 3,          // no memory for the block
  kNotDecodable = 4,      // not the seal's base-64 text, or no memory to decode it
};

// Length of the fields in front of the XML in a deciphered block (the check
// field), and in front of the enciphered part in a sealed block.
inline constexpr std::size_t kCheckFieldLength = 30;
inline constexpr std::size_t kStampFieldLength = 10;

class CSeal {
 public:
  // A seal with the program's fixed keys.
  CSeal();
  // A seal that reads with other keys: files sealed with the fixed keys then
  // fail their checksum.
  CSeal(std::string_view bodyKey, std::string_view checkKey);

  static std::uint32_t Crc32(std::string_view bytes);
  static std::string Encipher(std::string_view data, std::string_view key,
                              KeyDirection start = KeyDirection::kForwards);
  static std::string Decipher(std::string_view data, std::string_view key,
                              KeyDirection start = KeyDirection::kForwards);

  // Seals the whole payload as of `moment` into `sealed` and returns its
  // length. Returns 0 when nothing was sealed: an empty payload (`sealed`
  // then reads "no encrypt") or no memory (`sealed` is left as it was).
  std::size_t Seal(std::string_view payload, std::string_view bodyKey, std::string_view checkKey,
                   const LocalTime& moment, std::string& sealed) const;

  // Unseals and verifies the text of a declaration file. The text counts up
  // to its first zero byte, as a file is read. With `block`, on results 0
  // and 1 it receives the deciphered block: the 30 bytes of the check field,
  // then the XML; on every other result it is left empty. With `checksum`,
  // it receives the verified CRC of the XML on result 0, else 0.
  UnsealResult Unseal(std::string_view text, std::string* block, std::uint32_t* checksum) const;

 private:
  std::string m_bodyKey;
  std::string m_checkKey;
};

// Seals the declaration XML (up to its first zero byte, if any) with the
// fixed keys as of now, or of `moment`. Returns false, leaving `sealed` as
// it was, when nothing was sealed (an empty XML, no memory).
bool SealDeclaration(std::string_view xml, std::string& sealed);
bool SealDeclaration(std::string_view xml, const LocalTime& moment, std::string& sealed);

// The declaration XML inside a deciphered block: from offset 30 up to the
// first zero byte. Empty for a block shorter than the check field.
std::string_view XmlOfBlock(std::string_view block);

// The declaration XML of a sealed text, when it unseals as valid.
std::optional<std::string> UnsealDeclarationXml(std::string_view text);

}  // namespace f7301
