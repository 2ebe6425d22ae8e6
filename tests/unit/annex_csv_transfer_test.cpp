// Writing the annex to CSV and back, the page's part of an import, and the
// message that tells the user how it went.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "annexcsv/annex_page_calls.h"
#include "annexcsv/annex_reader.h"
#include "annexcsv/annex_report.h"
#include "annexcsv/annex_writer.h"
#include "annexcsv/csv_cell.h"

namespace f7301 {
namespace {

const std::string kKerosene = "KEROSINA (DPK) (AVJET, TURBO FUEL)";

TEST(AnnexCsvWriter, WritesWhatASpanishSpreadsheetReads) {
  const AnnexSales sales = {{0, "19", "1234.50", "DIESEL"}, {0, "6K", "0.75", kKerosene}};
  EXPECT_EQ(
      AnnexCsvText(sales),
      "\xEF\xBB\xBFNIT;Galones;Producto\r\n19;1234,50;DIESEL\r\n6K;0,75;" + kKerosene + "\r\n");
  EXPECT_EQ(AnnexCsvText({}), "\xEF\xBB\xBFNIT;Galones;Producto\r\n");
}

TEST(AnnexCsvWriter, WhatTheReaderWouldSplitOrTrimIsQuoted) {
  const AnnexSales sales = {{0, "1;9", "1.00", "NAFTA"}, {0, " 19\"", "2.00", "NAFTA"}};
  EXPECT_EQ(AnnexCsvText(sales),
            "\xEF\xBB\xBFNIT;Galones;Producto\r\n\"1;9\";1,00;NAFTA\r\n\" 19\"\"\";2,00;NAFTA\r\n");
}

// What a spreadsheet would run as a formula leaves as text, quoted and with
// the apostrophe that marks a text; the import drops that mark again.
TEST(AnnexCsvWriter, NoCellLeavesAsAFormula) {
  const std::pair<std::string, std::string> cells[] = {
      {"=1+2", "\"'=1+2\""},
      {"+19", "\"'+19\""},
      {"-19", "\"'-19\""},
      {"@A1", "\"'@A1\""},
      {"=HYPERLINK(\"http://x\";\"y\")", "\"'=HYPERLINK(\"\"http://x\"\";\"\"y\"\")\""},
      {"\t19", "\"'\t19\""},
      {"\r19", "\"'\r19\""},
      {"'19", "\"''19\""},   // an apostrophe of its own survives the mark's removal
      {"19\t", "\"19\t\""},  // a reader would trim the tab
      {"1-9", "1-9"},
      {"19'", "19'"},
  };
  AnnexSales sales;
  for (const auto& [value, written] : cells) {
    SCOPED_TRACE(value);
    EXPECT_EQ(AnnexCsvText({{0, value, "1.00", "NAFTA"}}),
              "\xEF\xBB\xBFNIT;Galones;Producto\r\n" + written + ";1,00;NAFTA\r\n");
    EXPECT_EQ(SpreadsheetCsvCell(value, ','), written);
    sales.push_back({static_cast<int>(sales.size()) + 2, value, "1.00", "NAFTA"});
  }
  EXPECT_EQ(AnnexCsvText({{0, "19", "-3.00", "@NAFTA"}}),
            "\xEF\xBB\xBFNIT;Galones;Producto\r\n19;\"'-3,00\";\"'@NAFTA\"\r\n");
  const AnnexFile back = ReadAnnexCsv(AnnexCsvText(sales));
  EXPECT_TRUE(back.problems.empty());
  // Lines of the file: the quoted CR of one cell ends a line of its own.
  for (AnnexSale& sale : sales) sale.line += sale.line > 8 ? 1 : 0;
  EXPECT_EQ(back.sales, sales);
}

TEST(AnnexCsvReader, TheApostropheOfASpreadsheetTextIsDropped) {
  const AnnexFile file =
      ReadAnnexCsv("'=1+2;'12,50;'DIESEL\n\"'+19\";\"'3\";NAFTA\n''19;1;NAFTA\n 19';1;NAFTA\n");
  EXPECT_EQ(file.sales, (AnnexSales{{1, "=1+2", "12.50", "DIESEL"},
                                    {2, "+19", "3", "NAFTA"},
                                    {3, "'19", "1", "NAFTA"},
                                    {4, "19'", "1", "NAFTA"}}));
  EXPECT_TRUE(file.problems.empty());
}

TEST(AnnexCsvWriter, AnExportReadsBackAsTheSameRows) {
  AnnexSales sales;
  for (int i = 1; i <= 500; ++i) {
    sales.push_back({i + 1, std::to_string(i) + "-" + std::to_string(i % 10),
                     std::to_string(i) + "." + std::to_string(10 + i % 90),
                     i % 2 ? kKerosene : "GAS LICUADO PETROLEO CARBURACION"});
  }
  sales[7].nit = "a;b \"c\"";
  const AnnexFile back = ReadAnnexCsv(AnnexCsvText(sales));
  EXPECT_EQ(back.refusal, "");
  EXPECT_TRUE(back.problems.empty());
  EXPECT_EQ(back.separator, ';');
  EXPECT_EQ(back.sales, sales);
}

TEST(AnnexCsvWriter, ReplacesTheFileOrLeavesItAlone) {
  const auto dir = std::filesystem::temp_directory_path() / "f7301-annex-writer";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto path = dir / "anexo.csv";
  {
    std::ofstream old(path);
    old << "lo de antes";
  }
  ASSERT_EQ(WriteAnnexCsv(path, {{0, "19", "1.00", "NAFTA"}}), ReplaceResult::kReplaced);
  std::ifstream in(path, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, "\xEF\xBB\xBFNIT;Galones;Producto\r\n19;1,00;NAFTA\r\n");
  EXPECT_EQ(WriteAnnexCsv(dir / "no" / "anexo.csv", {}), ReplaceResult::kCannotCreate);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  std::filesystem::remove_all(dir);
}

TEST(AnnexPageCalls, TheImportScriptCarriesEveryRowSafely) {
  AnnexFile file;
  file.sales = {{2, "19", "1.5", "DIESEL"}, {3, "1\"9</script>\xC3\xB1\n", "2", "NAFTA"}};
  file.refusedRows = 4;
  EXPECT_EQ(AnnexImportScript(file),
            "JSON.stringify(importaanexo([{\"galones\":\"1.5\",\"linea\":2,\"nit\":\"19\","
            "\"producto\":\"DIESEL\"},{\"galones\":\"2\",\"linea\":3,"
            "\"nit\":\"1\\\"9</script>\\u00f1\\n\",\"producto\":\"NAFTA\"}], 4))");
}

TEST(AnnexPageCalls, ReadsThePageAnswers) {
  const auto done = ParseAnnexImportAnswer(
      R"({"importadas":2,"primera":4,"problemas":[{"linea":3,"columna":1,"mensaje":"m","aviso":true}]})");
  ASSERT_TRUE(done);
  EXPECT_EQ(done->imported, 2);
  EXPECT_EQ(done->firstRow, 4);
  EXPECT_EQ(done->problems, (AnnexProblems{{3, 1, "m", true}}));

  const auto limit = ParseAnnexImportAnswer(R"({"mensaje":"Error:\nUsted ha solicitado"})");
  ASSERT_TRUE(limit);
  EXPECT_EQ(limit->refusal, "Error:\nUsted ha solicitado");

  for (const char* odd : {"", "null", "[]", "{\"importadas\":\"2\",\"problemas\":[]}",
                          "{\"importadas\":1,\"problemas\":[{\"linea\":1}]}", "{\"x\":1"}) {
    EXPECT_FALSE(ParseAnnexImportAnswer(odd)) << odd;
  }

  const auto rows = ParseAnnexExportAnswer(
      R"({"filas":[{"nit":"19","galones":"1.00","producto":"NAFTA"}],"incompletos":[2,5]})");
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->sales, (AnnexSales{{0, "19", "1.00", "NAFTA"}}));
  EXPECT_EQ(rows->incomplete, (std::vector<int>{2, 5}));
  EXPECT_EQ(rows->refusal, "");
  const auto refused = ParseAnnexExportAnswer(R"({"mensaje":"Error:\nLos galones del rengl"})");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->refusal, "Error:\nLos galones del rengl");
  EXPECT_TRUE(refused->sales.empty());
  for (const char* odd :
       {R"({"filas":[{"nit":19,"galones":"1","producto":"NAFTA"}],"incompletos":[]})",
        R"({"filas":[],"incompletos":["2"]})", R"({"filas":[]})",
        R"([{"nit":"19","galones":"1","producto":"NAFTA"}])", "{}"}) {
    EXPECT_FALSE(ParseAnnexExportAnswer(odd)) << odd;
  }
}

AnnexImportAnswer PageAnswer(int imported, AnnexProblems problems) {
  AnnexImportAnswer answer;
  answer.imported = imported;
  answer.firstRow = imported ? 4 : 0;
  answer.problems = std::move(problems);
  return answer;
}

TEST(AnnexImportReport, ErrorsOfFileAndPageTogetherByLine) {
  AnnexFile file;
  file.columnsNamed = true;  // no word about the order of the columns
  file.problems = {{9, 3, "El producto \"X\" no es uno de los productos del anexo."}};
  const std::string report = AnnexImportReport(
      file,
      PageAnswer(0,
                 {{12, 2, "Error:\nLa casilla debe ser num\xC3\xA9rica"},
                  {2, 1,
                   "Error:\nEl NIT posee un d\xC3\xADgito verificador inv\xC3\xA1lido.\nPor favor "
                   "escr\xC3\xAD"
                   "balo correctamente",
                   true},
                  {2, 1, "El NIT no puede ser solo ceros."}}));
  EXPECT_EQ(
      report,
      "Error:\nNo se import\xC3\xB3 ning\xC3\xBAn rengl\xC3\xB3n: corrija en el archivo estos "
      "problemas e imp\xC3\xB3rtelo de nuevo.\n"
      "L\xC3\xADnea 2, columna 1: El NIT no puede ser solo ceros.\n"
      "L\xC3\xADnea 9, columna 3: El producto \"X\" no es uno de los productos del anexo.\n"
      "L\xC3\xADnea 12, columna 2: La casilla debe ser num\xC3\xA9rica");
}

TEST(AnnexImportReport, TwentyProblemsThenHowManyMore) {
  AnnexFile file;
  for (int line = 30; line >= 1; --line) file.problems.push_back({line, 0, "Mal."});
  const std::string report = AnnexImportReport(file, PageAnswer(0, {}));
  EXPECT_NE(report.find("\nL\xC3\xADnea 20: Mal.\n... y 10 problemas m\xC3\xA1s."),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("L\xC3\xADnea 21"), std::string::npos);
  file.problems.resize(21);
  EXPECT_NE(AnnexImportReport(file, PageAnswer(0, {})).find("... y 1 problema m\xC3\xA1s."),
            std::string::npos);
}

TEST(AnnexImportReport, RowsImportedWithTheirWarnings) {
  EXPECT_EQ(AnnexImportReport({}, PageAnswer(500, {})),
            "Se importaron 500 renglones al anexo, a partir del rengl\xC3\xB3n 4.");
  EXPECT_EQ(
      AnnexImportReport(
          {}, PageAnswer(1, {{7, 1, "Error:\nEl NIT posee un d\xC3\xADgito.\nPor favor", true}})),
      "Se import\xC3\xB3 1 rengl\xC3\xB3n al anexo, a partir del rengl\xC3\xB3n 4.\n\n"
      "Revise estos avisos; los valores se importaron tal como est\xC3\xA1n en el archivo:\n"
      "L\xC3\xADnea 7, columna 1: El NIT posee un d\xC3\xADgito. Por favor");
}

TEST(AnnexImportReport, TheFormsOwnLimitMessageStandsAlone) {
  AnnexFile file;
  file.problems = {{3, 2, "x"}};
  AnnexImportAnswer answer;
  answer.refusal = "Error:\nUsted ha solicitado un n\xC3\xBAmero de renglones superior";
  EXPECT_EQ(AnnexImportReport(file, answer), answer.refusal);
}

}  // namespace
}  // namespace f7301
