// The lines the review from the command line prints and its exit status.
#include "file_review/review_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace f7301 {
namespace {

TEST(ReviewReportTest, EveryTextIsPrintedOnOneLineWithoutControlCharacters) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Error:\nNo pudo leerse el archivo a", "Error: No pudo leerse el archivo a"},
      {"Saldo final negativo.\nPor favor revise.", "Saldo final negativo. Por favor revise."},
      {"Warning: \n Multa", "Warning: Multa"},
      {"a\r\n\r\nb", "a b"},
      {"\nal principio y al final\n", "al principio y al final"},
      {"tab\tESC\x1b[31mrojo\x7f", "tab ESC [31mrojo "},
      {"CSI \xc2\x9b"
       "31m, \xc2\xa0 y \xc3\xb3 quedan",
       "CSI  31m, \xc2\xa0 y \xc3\xb3 quedan"},
      {"corta \xc2", "corta \xc2"},
      {"  blancos  que no rodean un salto  ", "  blancos  que no rodean un salto  "},
      {"", ""},
  };
  for (const auto& [text, line] : cases) EXPECT_EQ(OneLine(text), line) << text;
}

TEST(ReviewReportTest, LinesNameTheFileFirst) {
  const ReviewProblem problem{"Error", "Diesel, Ventas Exentas, casilla 36",
                              "Diesel: ventas exentas 15.00, anexo 12.50,\ndiferencia 2.50"};
  EXPECT_EQ(ProblemLine("dir/RTQ-1", problem),
            "dir/RTQ-1: Error: Diesel, Ventas Exentas, casilla 36: Diesel: ventas exentas 15.00, "
            "anexo 12.50, diferencia 2.50");
  EXPECT_EQ(RefusalLine("a\nb", "Error:\nNo pudo leerse"), "a b: Error: No pudo leerse");
  EXPECT_EQ(UnreviewedLine("x"), "x: no se pudo revisar");

  const std::vector<std::tuple<int, int, std::string>> summaries = {
      {0, 0, "f: sin problemas"},
      {1, 0, "f: 1 error"},
      {2, 0, "f: 2 errores"},
      {0, 1, "f: 1 aviso"},
      {0, 3, "f: 3 avisos"},
      {2, 1, "f: 2 errores, 1 aviso"},
      {1, 12, "f: 1 error, 12 avisos"},
  };
  for (const auto& [errors, warnings, line] : summaries) {
    EXPECT_EQ(SummaryLine("f", errors, warnings), line);
  }
}

TEST(ReviewReportTest, AnUnreadFileOutweighsAnErrorWhichOutweighsWarnings) {
  // Each run: the files' errors, -1 for a file that could not be reviewed.
  const std::vector<std::pair<std::vector<int>, int>> runs = {
      {{0}, 0},        {{0, 0, 0}, 0}, {{0, 3}, 1},  {{3, 0}, 1},        {{-1}, 2},
      {{0, -1, 0}, 2}, {{-1, 2}, 2},   {{2, -1}, 2}, {{1, 0, -1, 5}, 2},
  };
  for (const auto& [files, status] : runs) {
    ReviewStatus run;
    for (int errors : files) errors < 0 ? run.CountUnreviewed() : run.CountFile(errors);
    EXPECT_EQ(run.exitStatus(), status) << ::testing::PrintToString(files);
  }
}

}  // namespace
}  // namespace f7301
