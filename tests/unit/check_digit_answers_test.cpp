// What the form's scripts said of NITs is kept, so that a NIT is asked of
// once, and nothing the scripts did not answer is taken for an answer.
#include <gtest/gtest.h>

#include "register/check_digit_avisos.h"

namespace f7301 {
namespace {

using Nits = std::set<std::string>;

TEST(CheckDigitAnswers, EachNitIsAskedOfOnceAndOnlyItsAnswerCounts) {
  CheckDigitAnswers answers;
  EXPECT_EQ(answers.Unanswered({"18", "19"}), (Nits{"18", "19"}));
  // "140" was not asked of: the page naming it answers nothing of it.
  answers.Learn({"18", "19"}, {"18", "140"});
  EXPECT_EQ(answers.Unanswered({"18", "19", "140"}), Nits{"140"});
  EXPECT_EQ(answers.Wrong({"18", "19", "140"}), Nits{"18"});
  answers.Learn({"140"}, {});
  EXPECT_TRUE(answers.Unanswered({"18", "19", "140"}).empty());
  EXPECT_EQ(answers.Wrong({"19", "140"}), Nits{});
}

}  // namespace
}  // namespace f7301
