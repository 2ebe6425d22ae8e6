// The register's rules: which declaration is in force, which are rectified
// or duplicated, the months a taxpayer missed, and the order of the list.
#include "register/register_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "register/register_cells.h"

namespace f7301 {
namespace {

// One declaration of a scenario: NIT, period, number, box 1619, mtime.
struct Filed {
  std::string nit;
  int year, month;
  std::string number, rectifies;
  std::int64_t mtime;
};

std::vector<FoundDeclaration> Found(const std::vector<Filed>& filed) {
  std::vector<FoundDeclaration> found;
  for (const Filed& f : filed) {
    DeclarationSummary s;
    s.nit = f.nit;
    s.name = "CONTRIBUYENTE " + f.nit;
    s.year = f.year;
    s.month = f.month;
    s.formNumber = f.number;
    s.rectifies = f.rectifies;
    found.push_back({"/d/" + f.nit + "-" + f.number, f.mtime, s, ""});
  }
  return found;
}

// "number:state" for declarations, "MM/AAAA:state" for missing months.
std::vector<std::string> Listed(const std::vector<RegisterRow>& rows) {
  std::vector<std::string> listed;
  for (const RegisterRow& r : rows) {
    const std::string what = r.state == FilingState::kSinDeclaracion
                                 ? r.summary.nit + " " + PeriodText(r.summary.year, r.summary.month)
                                 : r.file.filename().string();
    listed.push_back(what + ":" + std::string(FilingStateText(r.state)));
  }
  return listed;
}

TEST(RegisterRows, StatesAndOrderOfEachScenario) {
  struct Case {
    const char* what;
    std::vector<Filed> filed;
    std::vector<std::string> listed;
  };
  const std::vector<Case> cases = {
      {"one declaration", {{"900", 2024, 3, "00000001", "", 1}}, {"900-00000001:Vigente"}},
      {"a rectification of a rectification, listed after its original whatever the mtimes",
       {{"900", 2024, 3, "00000003", "730100000002", 1},
        {"900", 2024, 3, "00000001", "", 3},
        {"900", 2024, 3, "00000002", "730100000001", 2}},
       {"900-00000001:Rectificada", "900-00000002:Rectificada", "900-00000003:Vigente"}},
      {"a 1619 that matches no file rectifies nothing",
       {{"900", 2024, 3, "00000001", "", 1}, {"900", 2024, 3, "00000002", "730199999999", 2}},
       {"900-00000001:Duplicada", "900-00000002:Vigente"}},
      {"two filings of a month with no link: the earlier one is Duplicada",
       {{"900", 2024, 3, "00000002", "", 5}, {"900", 2024, 3, "00000001", "", 4}},
       {"900-00000001:Duplicada", "900-00000002:Vigente"}},
      {"another taxpayer's number is not rectified",
       {{"900", 2024, 3, "00000001", "", 1}, {"800", 2024, 3, "00000009", "730100000001", 2}},
       {"800-00000009:Vigente", "900-00000001:Vigente"}},
      {"a declaration never rectifies one with its own number (a copy)",
       {{"900", 2024, 3, "00000001", "730100000001", 1}},
       {"900-00000001:Vigente"}},
      {"a loop of crafted links: the later one rectifies the earlier, no hang",
       {{"900", 2024, 3, "00000001", "730100000002", 1},
        {"900", 2024, 3, "00000002", "730100000001", 2}},
       {"900-00000001:Rectificada", "900-00000002:Vigente"}},
      {"an unlinked filing after a rectification: the later one in the list is in force",
       {{"900", 2024, 3, "00000001", "", 1},
        {"900", 2024, 3, "00000002", "730100000001", 2},
        {"900", 2024, 3, "00000003", "", 3}},
       {"900-00000001:Rectificada", "900-00000003:Duplicada", "900-00000002:Vigente"}},
      {"missing months between the first and the latest period, across a year",
       {{"900", 2023, 11, "00000001", "", 1}, {"900", 2024, 2, "00000002", "", 2}},
       {"900-00000001:Vigente", "900 12/2023:Sin declaración", "900 01/2024:Sin declaración",
        "900-00000002:Vigente"}},
      {"NITs of digits in numeric order, periods in order",
       {{"1000", 2024, 1, "00000004", "", 1},
        {"999", 2024, 2, "00000003", "", 1},
        {"999", 2024, 1, "00000002", "", 9}},
       {"999-00000002:Vigente", "999-00000003:Vigente", "1000-00000004:Vigente"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Listed(BuildRegisterRows(Found(c.filed))), c.listed) << c.what;
  }
}

// Every column of every row, as the list shows it.
std::vector<std::string> Cells(const std::vector<RegisterRow>& rows) {
  std::vector<std::string> cells;
  for (const RegisterRow& r : rows) {
    std::string line;
    for (int c = 0; c < kRegisterColumnCount; ++c) {
      line += RegisterCellText(r, static_cast<RegisterColumn>(c)) + "|";
    }
    cells.push_back(line);
  }
  return cells;
}

// Taxpayers of one to seven declarations, with gaps, a rectification and
// balances that do not follow: the rows made on two threads are the rows
// made on one, in the same order, for every split of the taxpayers.
TEST(RegisterRows, TwoThreadsMakeTheSameRows) {
  for (int taxpayers = 1; taxpayers <= 7; ++taxpayers) {
    std::vector<Filed> filed;
    for (int t = 0; t < taxpayers; ++t) {
      const std::string nit = std::to_string(800 + (t * 37) % 100);
      for (int m = 1; m <= t + 1; ++m) {
        const std::string number = std::to_string(10000000 + t * 100 + m);
        filed.push_back({nit, 2024, m + (m > 2 ? 1 : 0), number, "", m});
      }
      if (t % 2 == 1) {
        filed.push_back(
            {nit, 2024, 1, "99999999", "7301" + std::to_string(10000000 + t * 100 + 1), 50});
      }
    }
    std::vector<FoundDeclaration> found = Found(filed);
    for (std::size_t i = 0; i < found.size(); ++i) {
      found[i].summary->openings.assign(kProductRowCount, std::to_string(i));
      found[i].summary->closings.assign(kProductRowCount, std::to_string(i + i % 2));
    }
    found.push_back({"/d/z", 7, std::nullopt, "No pertenece a una declaración."});
    RowOptions one;
    one.currentYear = 2024;
    one.currentMonth = 12;
    RowOptions two = one;
    two.threads = 2;
    const std::vector<std::string> expected = Cells(BuildRegisterRows(found, one));
    // From three taxpayers on, a taxpayer has a gap: missing months are listed.
    if (taxpayers >= 3) {
      EXPECT_GT(expected.size(), found.size()) << taxpayers;
    }
    EXPECT_EQ(Cells(BuildRegisterRows(found, two)), expected) << taxpayers;
  }
}

TEST(RegisterRows, FilesThatDoNotReadComeLastWithTheirReason) {
  std::vector<FoundDeclaration> found = Found({{"900", 2024, 3, "00000001", "", 1}});
  found.push_back({"/d/z", 7, std::nullopt, "No pertenece a una declaración."});
  found.push_back({"/d/a", 8, std::nullopt, "Es una carpeta, no un archivo."});
  const std::vector<RegisterRow> rows = BuildRegisterRows(found);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].file, "/d/a");
  EXPECT_EQ(rows[1].state, FilingState::kAlterada);
  EXPECT_EQ(rows[1].reason, "Es una carpeta, no un archivo.");
  EXPECT_EQ(rows[1].summary, DeclarationSummary{});
  EXPECT_EQ(rows[2].file, "/d/z");
}

TEST(RegisterRows, MissingMonthsCarryTheTaxpayerAndCountsAddUp) {
  std::vector<FoundDeclaration> found = Found({{"900", 2024, 1, "00000001", "", 1},
                                               {"900", 2024, 4, "00000002", "", 2},
                                               {"800", 2024, 4, "00000003", "", 2}});
  found[1].summary->name = "NOMBRE NUEVO";
  found.push_back({"/d/x", 1, std::nullopt, "No pertenece a una declaración."});
  const std::vector<RegisterRow> rows = BuildRegisterRows(found);
  ASSERT_EQ(rows.size(), 6u);            // 800, 900 01, 02 and 03 missing, 04, the altered file
  const RegisterRow& missing = rows[2];  // 800, 900-01, 900 02/2024
  EXPECT_EQ(missing.state, FilingState::kSinDeclaracion);
  EXPECT_EQ(missing.summary.nit, "900");
  EXPECT_EQ(missing.summary.name, "NOMBRE NUEVO");  // the latest declaration's
  EXPECT_EQ(missing.summary.year, 2024);
  EXPECT_EQ(missing.summary.month, 2);
  EXPECT_TRUE(missing.file.empty());
  const RegisterCounts counts = CountRows(rows);
  EXPECT_EQ(counts.declarations, 3u);
  EXPECT_EQ(counts.taxpayers, 2u);
  EXPECT_EQ(counts.missingMonths, 2u);
  EXPECT_EQ(counts.unreadable, 1u);
}

TEST(RegisterRows, StateTexts) {
  const std::vector<std::pair<FilingState, std::string>> texts = {
      {FilingState::kVigente, "Vigente"},
      {FilingState::kRectificada, "Rectificada"},
      {FilingState::kDuplicada, "Duplicada"},
      {FilingState::kAlterada, "Alterada o ilegible"},
      {FilingState::kSinDeclaracion, "Sin declaración"},
  };
  for (const auto& [state, text] : texts) EXPECT_EQ(FilingStateText(state), text);
  EXPECT_EQ(PeriodText(2024, 3), "03/2024");
}

}  // namespace
}  // namespace f7301
