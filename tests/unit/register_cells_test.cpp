// The texts of a register row's columns, as the window's list shows them
// (the CSV export takes the same texts, its own test checks its bytes).
#include "register/register_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace f7301 {
namespace {

RegisterRow Filed(FilingState state) {
  RegisterRow row;
  row.state = state;
  row.summary = {"12345679", "ESTACIÓN", 2024,         3,  "13051299", "730113050011",
                 "1500.25",  12,         "05/04/2024", {}, {},         ""};
  row.file = "/datos/RTQ-1";
  return row;
}

TEST(RegisterCells, EachColumnOfEachKindOfRow) {
  // A missing month or an unreadable file that still carries a declaration's
  // values shows none of them beyond what its kind of row names.
  const struct {
    FilingState state;
    std::vector<std::string> texts;
  } cases[] = {
      {FilingState::kDuplicada,
       {"12345679", "ESTACIÓN", "03/2024", "13051299", "730113050011", "1500.25", "12",
        "05/04/2024", "Duplicada", "", "/datos/RTQ-1"}},
      {FilingState::kSinDeclaracion,
       {"12345679", "ESTACIÓN", "03/2024", "", "", "", "", "", "Sin declaración", "", ""}},
      {FilingState::kAlterada,
       {"", "", "", "", "", "", "", "", "Alterada o ilegible", "", "/datos/RTQ-1"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> texts;
    for (int column = 0; column < kRegisterColumnCount; ++column) {
      texts.push_back(RegisterCellText(Filed(c.state), static_cast<RegisterColumn>(column)));
    }
    EXPECT_EQ(texts, c.texts) << FilingStateText(c.state);
  }
}

}  // namespace
}  // namespace f7301
