#include "declaration/cp1252.h"

#include <gtest/gtest.h>

namespace f7301 {
namespace {

TEST(Cp1252, SpanishLettersBecomeSingleBytes) {
  EXPECT_EQ(Utf8ToCp1252("D\xC3\xAD"
                         "a \xC3\x91"),
            "D\xED"
            "a \xD1");                              // "Día Ñ"
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");  // euro sign
  EXPECT_EQ(Utf8ToCp1252("plain ascii <>&\"'"), "plain ascii <>&\"'");
}

TEST(Cp1252, UnrepresentableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");        // a CJK letter
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80x"), "?x");  // an emoji, four bytes
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");              // cut short at the end
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "?");            // overlong "/"
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "?");        // a lone surrogate
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("A\xF1o"), "A\xC3\xB1o");  // "Año"
}

}  // namespace
}  // namespace f7301
