#include "declaration/seal.h"

#include <cstdio>
#include <new>
#include <utility>

#include "declaration/base64_coder.h"
#include "declaration/crc32.h"
#include "declaration/seal_keys.h"

namespace f7301 {
namespace {

// The stamp text is the moment in the date and time layout of mode 2:
// ddmmyyyy followed by hhmmssmmm.
constexpr int kStampMode = 2;

// A checksum in decimal, zero-padded on the left to `width` digits.
std::string Digits(std::uint32_t value, int width) {
  char text[40];
  const int length =
      std::snprintf(text, sizeof text, "%.*lu", width, static_cast<unsigned long>(value));
  return std::string(text, static_cast<std::size_t>(length));
}

std::string_view UpToFirstZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

CSeal::CSeal() : CSeal(kBodyKey, kCheckKey) {}

CSeal::CSeal(std::string_view bodyKey, std::string_view checkKey)
    : m_bodyKey(bodyKey), m_checkKey(checkKey) {}

std::uint32_t CSeal::Crc32(std::string_view bytes) { return f7301::Crc32(bytes); }

std::string CSeal::Encipher(std::string_view data, std::string_view key, KeyDirection start) {
  return f7301::Encipher(data, key, start);
}

std::string CSeal::Decipher(std::string_view data, std::string_view key, KeyDirection start) {
  return f7301::Decipher(data, key, start);
}

std::size_t CSeal::Seal(std::string_view payload, std::string_view bodyKey,
                        std::string_view checkKey, const LocalTime& moment,
                        std::string& sealed) const {
  if (payload.empty()) {
    sealed = "no encrypt";
    return 0;
  }
  try {
    const TimeStampTexts stamp = FormatTimeStamp(kStampMode, moment);
    std::string stamped = stamp.date + stamp.time;
    stamped += payload;
    const std::string stampDigits = Digits(Crc32(stamped), kStampFieldLength);
    stamped = std::string();

    std::string blockKey = stampDigits;
    blockKey += bodyKey;
    std::string first = Encipher(Digits(Crc32(payload), kCheckFieldLength), checkKey);
    first += payload;

    std::string finalBlock = Encipher(stampDigits, kStampKey);
    finalBlock += Encipher(first, blockKey);
    first = std::string();

    sealed = CBase64Coder(CBase64Coder::kSealLineLength).Encode(finalBlock, true);
    return sealed.size();
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

UnsealResult CSeal::Unseal(std::string_view text, std::string* block,
                           std::uint32_t* checksum) const {
  if (block != nullptr) block->clear();
  if (checksum != nullptr) *checksum = 0;

  std::string decoded;
  try {
    const CBase64Coder coder(CBase64Coder::kSealLineLength);
    if (coder.Decode(UpToFirstZero(text), decoded) != DecodeResult::kOk) {
      return UnsealResult::kNotDecodable;
    }
  } catch (const std::bad_alloc&) {
    return UnsealResult::kNotDecodable;
  }
  if (decoded.size() <= kStampFieldLength + kCheckFieldLength) return UnsealResult::kNoPayload;

  try {
    const std::string_view sealedBlock(decoded);
    std::string blockKey = Decipher(sealedBlock.substr(0, kStampFieldLength), kStampKey);
    blockKey += m_bodyKey;
    std::string deciphered = Decipher(sealedBlock.substr(kStampFieldLength), blockKey);
    decoded = std::string();

    const std::string_view plain(deciphered);
    const std::string checkDigits = Decipher(plain.substr(0, kCheckFieldLength), m_checkKey);
    const std::uint32_t crc = Crc32(plain.substr(kCheckFieldLength));
    // Only the exact digits the writer produces count: a check field that
    // merely reads as the same number (leading blanks or a sign in place of
    // a zero, digits beyond 32 bits) comes from an altered file.
    const bool valid = checkDigits == Digits(crc, kCheckFieldLength);

    if (checksum != nullptr && valid) *checksum = crc;
    if (block != nullptr) *block = std::move(deciphered);
    return valid ? UnsealResult::kValid : UnsealResult::kChecksumMismatch;
  } catch (const std::bad_alloc&) {
    if (block != nullptr) block->clear();
    return UnsealResult::kNoMemory;
  }
}

bool SealDeclaration(std::string_view xml, const LocalTime& moment, std::string& sealed) {
  std::string text;
  const CSeal seal;
  if (seal.Seal(UpToFirstZero(xml), kBodyKey, kCheckKey, moment, text) == 0) return false;
  sealed = std::move(text);
  return true;
}

bool SealDeclaration(std::string_view xml, std::string& sealed) {
  return SealDeclaration(xml, CurrentLocalTime(), sealed);
}

std::string_view XmlOfBlock(std::string_view block) {
  if (block.size() < kCheckFieldLength) return {};
  return UpToFirstZero(block.substr(kCheckFieldLength));
}

std::optional<std::string> UnsealDeclarationXml(std::string_view text) {
  std::string block;
  if (CSeal().Unseal(text, &block, nullptr) != UnsealResult::kValid) return std::nullopt;
  return std::string(XmlOfBlock(block));
}

}  // namespace f7301
