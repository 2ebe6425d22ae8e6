// Reading sealed texts that are not what the writer made: every result of
// Unseal, altered files, foreign text.
#include "declaration/seal.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/seal_test_helpers.h"

namespace f7301 {
namespace {

using sealtest::HandSealed;
using sealtest::kMoment;
using sealtest::Padded;

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+*";

UnsealResult ResultOf(std::string_view text) { return CSeal().Unseal(text, nullptr, nullptr); }

std::string SealedXml(std::string_view xml) {
  std::string sealed;
  EXPECT_TRUE(SealDeclaration(xml, kMoment, sealed));
  return sealed;
}

// 100 bytes: a 140-byte block, 46 full groups and two bytes left over.
std::string HundredBytes() {
  std::string xml = " <FORMULARIO NUMERO=\"10203045\">  <NIT>12345679</NIT> ";
  xml.resize(100, 'x');
  return xml;
}

TEST(Unseal, ValidTextHandsOutBlockAndChecksum) {
  const std::string xml = HundredBytes();
  std::string block = "stale";
  std::uint32_t checksum = 0;
  EXPECT_EQ(CSeal().Unseal(SealedXml(xml), &block, &checksum), UnsealResult::kValid);
  ASSERT_EQ(block.size(), kCheckFieldLength + xml.size());
  EXPECT_EQ(XmlOfBlock(block), xml);
  EXPECT_EQ(checksum, Crc32(xml));
  EXPECT_EQ(Decipher(block.substr(0, kCheckFieldLength), kCheckKey), Padded(Crc32(xml), 30));
}

TEST(Unseal, EveryLetterChangedInAFullGroupIsDetected) {
  // Stamp field (letters 0 to 12), check field (up to 53) and payload alike:
  // each letter of a full group, replaced by each other letter, must fail
  // the checksum.
  const std::string sealed = SealedXml(HundredBytes());
  const std::size_t fullGroupLetters = 140 / 3 * 4;
  std::size_t letter = 0, tried = 0;
  for (std::size_t pos = 0; pos < sealed.size() && letter < fullGroupLetters; ++pos) {
    if (kAlphabet.find(sealed[pos]) == std::string_view::npos) continue;
    for (char other : kAlphabet) {
      if (other == sealed[pos]) continue;
      std::string altered = sealed;
      altered[pos] = other;
      std::uint32_t checksum = 7;
      ASSERT_EQ(CSeal().Unseal(altered, nullptr, &checksum), UnsealResult::kChecksumMismatch)
          << "letter " << letter << " changed to " << other;
      ASSERT_EQ(checksum, 0u);
      ++tried;
    }
    ++letter;
  }
  EXPECT_EQ(letter, fullGroupLetters);
  EXPECT_EQ(tried, fullGroupLetters * 63);
}

TEST(Unseal, AlteredFileStillHandsOutItsBlock) {
  std::string sealed = SealedXml(HundredBytes());
  sealed[100] = sealed[100] == 'A' ? 'B' : 'A';
  std::string block;
  EXPECT_EQ(CSeal().Unseal(sealed, &block, nullptr), UnsealResult::kChecksumMismatch);
  EXPECT_EQ(block.size(), kCheckFieldLength + 100);
  EXPECT_EQ(UnsealDeclarationXml(sealed), std::nullopt);
}

TEST(Unseal, OtherKeysFailTheChecksum) {
  const std::string sealed = SealedXml(HundredBytes());
  const CSeal otherBody(std::string(25, '\x07'), kCheckKey);
  const CSeal otherCheck(kBodyKey, std::string(10, '\x07'));
  EXPECT_EQ(otherBody.Unseal(sealed, nullptr, nullptr), UnsealResult::kChecksumMismatch);
  EXPECT_EQ(otherCheck.Unseal(sealed, nullptr, nullptr), UnsealResult::kChecksumMismatch);
  EXPECT_EQ(CSeal(kBodyKey, kCheckKey).Unseal(sealed, nullptr, nullptr), UnsealResult::kValid);
}

TEST(Unseal, OnlyTheWritersExactDigitsPassTheCheck) {
  // These check fields read as the right number with a lenient decimal
  // reader, but no writer makes them: they come from altered files.
  const std::string payload = HundredBytes();
  const std::uint32_t crc = Crc32(payload);
  const std::string digits = Padded(crc, 30);
  const std::string stamp = "0123456789";
  ASSERT_EQ(ResultOf(HandSealed(stamp, digits, payload)), UnsealResult::kValid);

  for (const char* lead : {" ", "\t", "+", "\n"}) {
    EXPECT_EQ(ResultOf(HandSealed(stamp, lead + digits.substr(1), payload)),
              UnsealResult::kChecksumMismatch)
        << "leading " << static_cast<int>(lead[0]);
  }
  // The same value plus 2^32: equal to the checksum only after wrap-around.
  const std::string beyond = std::to_string(std::uint64_t{crc} + 4294967296ull);
  EXPECT_EQ(ResultOf(HandSealed(stamp, std::string(30 - beyond.size(), '0') + beyond, payload)),
            UnsealResult::kChecksumMismatch);
  // A zero byte where the last digit belongs.
  EXPECT_EQ(ResultOf(HandSealed(stamp, digits.substr(0, 29) + std::string(1, '\0'), payload)),
            UnsealResult::kChecksumMismatch);
}

TEST(Unseal, StampFieldIsNotVerifiedOnlyUsedAsKey) {
  // Any stamp digits work as long as the block was ciphered with them.
  const std::string payload = HundredBytes();
  EXPECT_EQ(ResultOf(HandSealed("9999999999", Padded(Crc32(payload), 30), payload)),
            UnsealResult::kValid);
}

TEST(Unseal, BlocksOfFortyBytesOrLessHoldNoPayload) {
  const CBase64Coder coder;
  for (std::size_t n : {0u, 1u, 10u, 39u, 40u}) {
    std::string block = "stale";
    std::uint32_t checksum = 5;
    EXPECT_EQ(CSeal().Unseal(coder.Encode(std::string(n, 'Q'), true), &block, &checksum),
              UnsealResult::kNoPayload)
        << n;
    EXPECT_TRUE(block.empty());
    EXPECT_EQ(checksum, 0u);
  }
  EXPECT_EQ(ResultOf(""), UnsealResult::kNoPayload);
  EXPECT_EQ(ResultOf("\r\n \t"), UnsealResult::kNoPayload);
  EXPECT_EQ(ResultOf(coder.Encode(std::string(41, 'Q'), true)), UnsealResult::kChecksumMismatch);
}

TEST(Unseal, ForeignCharactersMakeTheTextUndecodable) {
  const std::string sealed = SealedXml(HundredBytes());
  for (std::string_view foreign : {"/", "-", "!", "\xE9", "\x80", "\xFF", "\v"}) {
    std::string altered = sealed;
    altered.insert(50, foreign);
    std::string block = "stale";
    EXPECT_EQ(CSeal().Unseal(altered, &block, nullptr), UnsealResult::kNotDecodable) << foreign;
    EXPECT_TRUE(block.empty());
  }
  EXPECT_EQ(ResultOf("<FORMULARIO> </FORMULARIO>"), UnsealResult::kNotDecodable);
  EXPECT_EQ(ResultOf("\xEF\xBB\xBF" + sealed), UnsealResult::kNotDecodable);  // a UTF-8 mark
}

TEST(Unseal, BlanksAnywhereAndAnythingAfterTheEndAreIgnored) {
  const std::string xml = HundredBytes();
  const std::string sealed = SealedXml(xml);
  std::string loose;
  for (std::size_t i = 0; i < sealed.size(); ++i) {
    if (sealed[i] == '\r') continue;  // LF-only lines, as a text editor may leave them
    loose += sealed[i];
    if (i % 7 == 0) loose += " \t";
  }
  EXPECT_EQ(UnsealDeclarationXml(loose), xml);
  EXPECT_EQ(UnsealDeclarationXml(sealed + "\r\n"), xml);
  EXPECT_EQ(UnsealDeclarationXml(sealed + "/not read after the ="), xml);
}

TEST(Unseal, TextEndsAtItsFirstZeroByte) {
  const std::string xml = HundredBytes();
  const std::string sealed = SealedXml(xml);
  EXPECT_EQ(UnsealDeclarationXml(sealed + std::string(1, '\0') + "\xFF/junk"), xml);
  std::string cut = sealed;
  cut[100] = '\0';
  EXPECT_NE(ResultOf(cut), UnsealResult::kValid);
  EXPECT_EQ(ResultOf(std::string(1, '\0') + sealed), UnsealResult::kNoPayload);
}

TEST(Unseal, XmlOfBlockStopsAtZeroAndToleratesShortBlocks) {
  EXPECT_EQ(XmlOfBlock(std::string(30, '0') + "<A/>"), "<A/>");
  EXPECT_EQ(XmlOfBlock(std::string(30, '0') + std::string("<A/>\0<B/>", 9)), "<A/>");
  EXPECT_EQ(XmlOfBlock(std::string(30, '0')), "");
  EXPECT_EQ(XmlOfBlock("short"), "");
}

}  // namespace
}  // namespace f7301
