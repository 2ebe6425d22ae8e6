#include <gtest/gtest.h>

#include <string>

#include "declaration/base64_coder.h"

namespace f7301 {
namespace {

std::string Decoded(std::string_view text) {
  std::string bytes = "untouched";
  EXPECT_EQ(CBase64Coder().Decode(text, bytes), DecodeResult::kOk) << text;
  return bytes;
}

bool Rejected(std::string_view text) {
  std::string bytes = "previous content";
  const bool rejected = CBase64Coder().Decode(text, bytes) == DecodeResult::kInvalidText;
  EXPECT_TRUE(bytes.empty()) << "a rejected text must give no bytes";
  return rejected;
}

TEST(SealBase64, AlphabetEndsInPlusAndStar) {
  const CBase64Coder coder;
  EXPECT_EQ(coder.Encode("Man", false), "TWFu");
  EXPECT_EQ(coder.Encode("\xFB\xEF\xFF", false), "++**");
  EXPECT_EQ(Decoded("++**"), "\xFB\xEF\xFF");
}

TEST(SealBase64, LeftoverBytesComeAfterTheClosingBreak) {
  const CBase64Coder coder;
  EXPECT_EQ(coder.Encode("Ma", true), "\r\nTWE=");
  EXPECT_EQ(coder.Encode("M", true), "\r\nTQ==");
  EXPECT_EQ(coder.Encode("Man", true), "TWFu\r\n");
  EXPECT_EQ(coder.Encode("ManM", true), "TWFu\r\nTQ==");
  EXPECT_EQ(coder.Encode("", true), "\r\n");
  EXPECT_EQ(coder.Encode("", false), "");
  EXPECT_EQ(coder.Encode("ManM", false), "TWFuTQ==");
}

TEST(SealBase64, LinesBreakAfterEveryNinetyGroups) {
  const CBase64Coder coder;
  const std::string line(360, 'A');
  // 270 bytes fill one line exactly: its break, then the closing empty line.
  EXPECT_EQ(coder.Encode(std::string(270, '\0'), true), line + "\r\n\r\n");
  EXPECT_EQ(coder.Encode(std::string(270, '\0'), false), line + "\r\n");
  EXPECT_EQ(coder.Encode(std::string(541, '\0'), true), line + "\r\n" + line + "\r\n\r\nAA==");
  EXPECT_EQ(CBase64Coder(8).Encode(std::string(9, '\0'), true), "AAAAAAAA\r\nAAAA\r\n");
  // A line length that is not a whole number of groups ends the line after
  // the group that passes it.
  EXPECT_EQ(CBase64Coder(10).Encode(std::string(9, '\0'), false), "AAAAAAAAAAAA\r\n");
}

TEST(SealBase64, EncodedLengthIsExactForAnyLineLength) {
  for (int lineLength : {-1, 0, 1, 4, 5, 10, 360}) {
    const CBase64Coder coder(lineLength);
    for (std::size_t n : {0u, 1u, 2u, 3u, 269u, 270u, 271u, 540u, 1000u}) {
      for (bool finalBreak : {false, true}) {
        const std::string text = coder.Encode(std::string(n, 'x'), finalBreak);
        EXPECT_EQ(text.size(), coder.EncodedLength(n, finalBreak)) << lineLength << " " << n;
        EXPECT_EQ(text.find('\0'), std::string::npos);
      }
    }
  }
}

TEST(SealBase64, DecodeSkipsBlanksAnywhere) {
  EXPECT_EQ(Decoded(" T\tW\r\nF u\n"), "Man");
  EXPECT_EQ(Decoded("\r\n\r\n"), "");
  EXPECT_EQ(Decoded(""), "");
}

TEST(SealBase64, DecodeStopsAtTheFirstEqualsSign) {
  EXPECT_EQ(Decoded("TWE="), "Ma");
  EXPECT_EQ(Decoded("TWFu=TWFu"), "Man");
  // What follows the "=" is never read, not even to be rejected.
  EXPECT_EQ(Decoded("TWFu=/\x80!"), "Man");
  EXPECT_EQ(Decoded("=TWFu"), "");
}

TEST(SealBase64, DecodeDropsBitsThatMakeNoWholeByte) {
  EXPECT_EQ(Decoded("TQ"), "M");
  EXPECT_EQ(Decoded("T"), "");
  EXPECT_EQ(Decoded("TWFuT"), "Man");
}

TEST(SealBase64, DecodeRejectsEveryOtherCharacter) {
  EXPECT_TRUE(Rejected("TW/u"));  // the standard 64th letter is not ours
  EXPECT_TRUE(Rejected("TWFu-"));
  EXPECT_TRUE(Rejected("TWFu\v"));
  EXPECT_TRUE(Rejected(std::string("TW\0u", 4)));
  EXPECT_TRUE(Rejected("TWF\xC3\xBA"));  // a letter outside ASCII
  for (int c = 0x80; c < 0x100; ++c) {
    EXPECT_TRUE(Rejected(std::string("TWFu") + static_cast<char>(c))) << c;
  }
}

TEST(SealBase64, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const CBase64Coder coder;
  for (std::size_t n = 0; n <= all.size(); n += 37) {
    const std::string part = all.substr(0, n);
    EXPECT_EQ(Decoded(coder.Encode(part, true)), part);
  }
  EXPECT_EQ(Decoded(coder.Encode(all + all + all, true)), all + all + all);
}

}  // namespace
}  // namespace f7301
