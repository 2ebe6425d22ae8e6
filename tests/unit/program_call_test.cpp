// The program's command line: which form the first argument chooses.
#include "command_line/program_call.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace f7301 {
namespace {

TEST(ProgramCallTest, TheFirstArgumentChoosesTheForm) {
  using Args = std::vector<std::string>;
  const struct {
    Args arguments;
    ProgramForm form;
    Args files;
  } cases[] = {
      {{}, ProgramForm::kWindow, {}},
      {{"RTQ-1"}, ProgramForm::kWindow, {}},
      {{"-platform", "offscreen"}, ProgramForm::kWindow, {}},
      {{"RTQ-1", "--revisar"}, ProgramForm::kWindow, {}},
      {{"--help"}, ProgramForm::kHelp, {}},
      {{"-h", "RTQ-1"}, ProgramForm::kHelp, {}},
      {{"--revisar"}, ProgramForm::kMisused, {}},
      {{"--revisar", "a"}, ProgramForm::kReview, {"a"}},
      {{"--revisar", "a", "-platform", "--help", "a"},
       ProgramForm::kReview,
       {"a", "-platform", "--help", "a"}},
  };
  for (const auto& c : cases) {
    const ProgramCall call = ReadProgramCall(c.arguments);
    EXPECT_EQ(call.form, c.form) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(call.files, c.files) << ::testing::PrintToString(c.arguments);
  }
}

}  // namespace
}  // namespace f7301
