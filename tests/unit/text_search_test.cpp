// The linear text search against the standard library's, which is simple
// and right but not linear.
#include "xmlstore/text_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

namespace f7301 {
namespace {

constexpr auto npos = std::string_view::npos;

TEST(FindText, FindsTheFirstOccurrenceAtOrAfterTheStart) {
  EXPECT_EQ(FindText("<A>1</A> <A>2</A>", "</A>"), 4u);
  EXPECT_EQ(FindText("<A>1</A> <A>2</A>", "</A>", 5), 13u);
  EXPECT_EQ(FindText("</A>", "</A>"), 0u);
  EXPECT_EQ(FindText("x</A>", "</A>"), 1u);
  EXPECT_EQ(FindText("</A", "</A>"), npos);
  EXPECT_EQ(FindText("</B>", "</A>"), npos);
}

TEST(FindText, PartialMatchesThatOverlapTheMatch) {
  // After a mismatch the search resumes inside what it has read.
  EXPECT_EQ(FindText("aaab", "aab"), 1u);
  EXPECT_EQ(FindText("abababc", "ababc"), 2u);
  EXPECT_EQ(FindText("</</</<>", "</</<>"), 2u);
  EXPECT_EQ(FindText("abcabdabcabc", "abcabc"), 6u);
}

TEST(FindText, StartAndNeedleAtTheEdges) {
  EXPECT_EQ(FindText("abc", "", 0), 0u);
  EXPECT_EQ(FindText("abc", "", 3), 3u);
  EXPECT_EQ(FindText("abc", "", 4), npos);
  EXPECT_EQ(FindText("abc", "c", 3), npos);
  EXPECT_EQ(FindText("abc", "abcd"), npos);
  EXPECT_EQ(FindText("", "a"), npos);
  EXPECT_EQ(FindText("ab", "b", 1), 1u);
}

// Small alphabets give many partial matches, the hard case for the search.
TEST(FindText, AgreesWithTheStandardSearchOnRandomTexts) {
  std::mt19937 random(7301);
  const std::string alphabet = "</>a";
  auto make = [&](std::size_t size, std::size_t letters) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) text += alphabet[random() % letters];
    return text;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::size_t letters = 2 + random() % 3;
    const std::string text = make(random() % 40, letters);
    const std::string needle = make(1 + random() % 6, letters);
    const std::size_t from = random() % (text.size() + 2);
    ASSERT_EQ(FindText(text, needle, from), std::string_view(text).find(needle, from))
        << "text " << text << " needle " << needle << " from " << from;
  }
}

}  // namespace
}  // namespace f7301
