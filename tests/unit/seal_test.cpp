// Sealing and unsealing whole declarations: sizes, line shape, round trips,
// the golden file that pins the keys and the format.
#include "declaration/seal.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/sample_declaration.h"
#include "tests/unit/seal_test_helpers.h"

namespace f7301 {
namespace {

using sealtest::kMoment;
using sealtest::Shape;

std::string ReadDataFile(const std::string& name) {
  std::ifstream in(std::string(F7301_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Sealed(std::string_view xml, const LocalTime& moment = kMoment) {
  std::string sealed;
  EXPECT_TRUE(SealDeclaration(xml, moment, sealed));
  return sealed;
}

TEST(Seal, GoldenFilePinsKeysAndFormat) {
  // The XML was sealed once at kMoment; the same XML and moment must give
  // the same text for as long as files sealed today must be readable.
  const std::string xml = ReadDataFile("seal_golden.xml");
  const std::string golden = ReadDataFile("seal_golden.sealed");
  ASSERT_GT(xml.size(), 1000u);
  EXPECT_EQ(Sealed(xml), golden);
  EXPECT_EQ(UnsealDeclarationXml(golden), xml);
}

TEST(Seal, OneBytePayloadGivesFiftyEightCharacters) {
  const std::string sealed = Sealed("x");
  EXPECT_EQ(Shape(sealed), std::string(52, 'a') + "\r\n" + "aaa=");
  EXPECT_EQ(UnsealDeclarationXml(sealed), "x");
}

TEST(Seal, FullLineIsFollowedByTheClosingEmptyLine) {
  const std::string xml(230, 'x');
  const std::string sealed = Sealed(xml);
  EXPECT_EQ(Shape(sealed), std::string(360, 'a') + "\r\n\r\n");
  EXPECT_EQ(sealed.size(), 364u);
  EXPECT_EQ(UnsealDeclarationXml(sealed), xml);
}

TEST(Seal, SecondLineEndsWithTheClosingBreak) {
  const std::string xml(320, 'x');
  const std::string sealed = Sealed(xml);
  EXPECT_EQ(Shape(sealed), std::string(360, 'a') + "\r\n" + std::string(120, 'a') + "\r\n");
  EXPECT_EQ(sealed.size(), 484u);
  EXPECT_EQ(UnsealDeclarationXml(sealed), xml);
}

TEST(Seal, LengthFollowsTheBlockSizeForEveryPayload) {
  for (std::size_t n = 1; n <= 1200; n += 7) {
    const std::size_t block = n + 40, groups = block / 3;
    const std::size_t expected = 4 * groups + 2 * (4 * groups / 360) + 2 + (block % 3 != 0 ? 4 : 0);
    const std::string xml(n, 'y');
    const std::string sealed = Sealed(xml);
    ASSERT_EQ(sealed.size(), expected) << n;
    for (char c : sealed) ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
    ASSERT_EQ(UnsealDeclarationXml(sealed), xml) << n;
  }
}

TEST(Seal, EachMillisecondCiphersDifferently) {
  const std::string xml = testing::DeclarationXml(testing::FullSample(3));
  const std::string first = Sealed(xml, kMoment);
  const std::string second = Sealed(xml, sealtest::MillisecondLater(kMoment));
  EXPECT_NE(first, second);
  // Not just the stamp field: the whole body is ciphered under another key.
  std::size_t same = 0;
  for (std::size_t i = 20; i < first.size(); ++i) same += first[i] == second[i];
  EXPECT_LT(same, first.size() / 8);
  EXPECT_EQ(UnsealDeclarationXml(first), xml);
  EXPECT_EQ(UnsealDeclarationXml(second), xml);
}

TEST(Seal, LargeDeclarationSealsWhole) {
  // 500 annex rows with very long product texts: far beyond a fixed
  // 175,000-byte text once sealed, and still sealed and read back whole.
  testing::SampleDeclaration d = testing::FullSample(500);
  for (testing::AnnexRow& row : d.annex) row.product.resize(250, 'P');
  const std::string xml = testing::DeclarationXml(d);
  ASSERT_GT(xml.size(), 200000u);
  const std::string sealed = Sealed(xml);
  EXPECT_GT(sealed.size(), 265000u);
  std::uint32_t checksum = 0;
  std::string block;
  EXPECT_EQ(CSeal().Unseal(sealed, &block, &checksum), UnsealResult::kValid);
  EXPECT_EQ(XmlOfBlock(block), xml);
  EXPECT_EQ(checksum, Crc32(xml));
}

TEST(Seal, EveryByteValueOfThePayloadSurvives) {
  std::string payload;
  for (int round = 0; round < 3; ++round) {
    for (int b = 0; b < 256; ++b) payload += static_cast<char>(b);
  }
  std::string sealed;
  ASSERT_GT(CSeal().Seal(payload, kBodyKey, kCheckKey, kMoment, sealed), 0u);
  std::string block;
  EXPECT_EQ(CSeal().Unseal(sealed, &block, nullptr), UnsealResult::kValid);
  EXPECT_EQ(block.substr(kCheckFieldLength), payload);
}

TEST(Seal, EmptyDeclarationIsNotSealed) {
  std::string sealed = "caller's text";
  EXPECT_FALSE(SealDeclaration("", kMoment, sealed));
  EXPECT_FALSE(SealDeclaration(std::string_view("\0abc", 4), kMoment, sealed));
  EXPECT_FALSE(SealDeclaration("", sealed));
  EXPECT_EQ(sealed, "caller's text");

  std::string out;
  EXPECT_EQ(CSeal().Seal("", kBodyKey, kCheckKey, kMoment, out), 0u);
  EXPECT_EQ(out, "no encrypt");
}

TEST(Seal, DeclarationEndsAtItsFirstZeroByte) {
  const std::string sealed = Sealed(std::string_view("<A/>\0<B/>", 9));
  EXPECT_EQ(sealed, Sealed("<A/>"));
  EXPECT_EQ(UnsealDeclarationXml(sealed), "<A/>");
}

TEST(Seal, SealingNowReadsBack) {
  const std::string xml = testing::DeclarationXml(testing::FullSample(1));
  std::string sealed;
  ASSERT_TRUE(SealDeclaration(xml, sealed));
  EXPECT_EQ(UnsealDeclarationXml(sealed), xml);
}

TEST(Seal, ZeroChecksumsAreWrittenAsZeros) {
  // A payload whose checksum is 0 gets thirty zeros in its check field.
  std::string payload = "<FORMULARIO>";
  payload += sealtest::ForgeCrcSuffix(payload, 0);
  ASSERT_EQ(Crc32(payload), 0u);
  std::string sealed, block;
  ASSERT_GT(CSeal().Seal(payload, kBodyKey, kCheckKey, kMoment, sealed), 0u);
  std::uint32_t checksum = 1;
  EXPECT_EQ(CSeal().Unseal(sealed, &block, &checksum), UnsealResult::kValid);
  EXPECT_EQ(checksum, 0u);
  EXPECT_EQ(Decipher(block.substr(0, kCheckFieldLength), kCheckKey), std::string(30, '0'));

  // A stamp text and payload whose checksum is 0 give ten zero digits.
  const TimeStampTexts stamp = FormatTimeStamp(2, kMoment);
  std::string body = "<FORMULARIO>";
  body += sealtest::ForgeCrcSuffix(stamp.date + stamp.time + body, 0);
  ASSERT_EQ(Crc32(stamp.date + stamp.time + body), 0u);
  ASSERT_GT(CSeal().Seal(body, kBodyKey, kCheckKey, kMoment, sealed), 0u);
  std::string decoded;
  ASSERT_EQ(CBase64Coder().Decode(sealed, decoded), DecodeResult::kOk);
  EXPECT_EQ(Decipher(decoded.substr(0, kStampFieldLength), kStampKey), std::string(10, '0'));
  EXPECT_EQ(CSeal().Unseal(sealed, &block, nullptr), UnsealResult::kValid);
  EXPECT_EQ(block.substr(kCheckFieldLength), body);
}

}  // namespace
}  // namespace f7301
