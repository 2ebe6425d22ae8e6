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

// Stored text is converted without loss or not at all.
TEST(Cp1252Exact, RefusesWhatWindows1252CannotHold) {
  EXPECT_EQ(Utf8ToCp1252Exact("D\xC3\xAD"
                              "a \xE2\x82\xAC ?"),
            "D\xED"
            "a \x80 ?");  // "Día € ?"
  EXPECT_EQ(Utf8ToCp1252Exact("\xC5\x81"
                              "od"),
            std::nullopt);                                          // "Łod"
  EXPECT_EQ(Utf8ToCp1252Exact("\xC2\xB5\xCE\x9C"), std::nullopt);   // micro sign, Greek Mu
  EXPECT_EQ(Utf8ToCp1252Exact("x\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
  EXPECT_EQ(Utf8ToCp1252Exact("a\xC3"), std::nullopt);              // cut short
  EXPECT_EQ(Utf8ToCp1252Exact("\xED\xA0\x80"), std::nullopt);       // a lone surrogate
  EXPECT_EQ(Utf8ToCp1252Exact(""), "");
}

TEST(Cp1252Exact, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252Exact(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252Html, WritesReferencesForWhatItCannotHold) {
  EXPECT_EQ(Utf8ToCp1252Html("<b>\xC5\x81"
                             "\xC3\xB3"
                             "d\xC5\xBA</b>"),
            "<b>&#321;\xF3"
            "d&#378;</b>");  // "Łódź"
  EXPECT_EQ(Utf8ToCp1252Html("\xF0\x9F\x98\x80?"), "&#128512;?");
  EXPECT_EQ(Utf8ToCp1252Html("a\xC3"), "a&#65533;");
  EXPECT_EQ(Utf8ToCp1252Html("\xE2\x82\xAC&amp;"), "\x80&amp;");
}

}  // namespace
}  // namespace f7301
