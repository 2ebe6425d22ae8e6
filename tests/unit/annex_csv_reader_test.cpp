// Reading exempt-sales files as spreadsheets and billing systems write them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "annexcsv/annex_reader.h"
#include "annexcsv/annex_report.h"
#include "annexcsv/bounded_file.h"

namespace f7301 {
namespace {

struct FileCase {
  const char* what;
  std::string bytes;
  AnnexSales sales;
  std::vector<std::pair<int, int>> problems = {};  // line, column
};

void ExpectRead(const FileCase& c) {
  SCOPED_TRACE(c.what);
  const AnnexFile file = ReadAnnexCsv(c.bytes);
  EXPECT_EQ(file.refusal, "");
  EXPECT_EQ(file.sales, c.sales);
  std::vector<std::pair<int, int>> where;
  for (const AnnexProblem& p : file.problems) {
    where.emplace_back(p.line, p.column);
    EXPECT_FALSE(p.warning);
    EXPECT_FALSE(p.message.empty());
  }
  EXPECT_EQ(where, c.problems);
  EXPECT_EQ(file.refusedRows, static_cast<int>(c.problems.size()));
}

const std::string kBom = "\xEF\xBB\xBF";
const std::string kKerosene = "KEROSINA (DPK) (AVJET, TURBO FUEL)";

TEST(AnnexCsvReader, EachSeparatorAndQuoting) {
  const FileCase cases[] = {
      {"semicolons, decimal commas, CR LF, header",
       "NIT;Galones;Producto\r\n19;12,50;DIESEL\r\n140;3;ASFALTOS\r\n",
       {{2, "19", "12.50", "DIESEL"}, {3, "140", "3", "ASFALTOS"}}},
      {"commas, decimal points, no header, no final line break",
       "19,1.5,NAFTA\n6K,2,GAS OIL",
       {{1, "19", "1.5", "NAFTA"}, {2, "6K", "2", "GAS OIL"}}},
      {"tabs; a product with a comma needs no quotes",
       "19\t1,5\t" + kKerosene + "\n",
       {{1, "19", "1.5", kKerosene}}},
      {"semicolons; the same product unquoted is not split at its comma",
       "19;7;" + kKerosene + "\n",
       {{1, "19", "7", kKerosene}}},
      {"commas; quoted fields, a doubled quote, a quoted comma",
       "\"19\",\"1.5\",\"" + kKerosene + "\"\n\"1\"\"9\",2,DIESEL\n",
       {{1, "19", "1.5", kKerosene}, {2, "1\"9", "2", "DIESEL"}}},
      {"a quoted line break keeps the count of lines",
       "\"12\n3\";1;DIESEL\n19;2;NAFTA\n",
       {{1, "12\n3", "1", "DIESEL"}, {3, "19", "2", "NAFTA"}}},
      {"lone CR line ends",
       "19;1;DIESEL\r140;2;NAFTA\r",
       {{1, "19", "1", "DIESEL"}, {2, "140", "2", "NAFTA"}}},
      {"blanks around unquoted values are dropped, quoted ones kept",
       "  19 ;  4,25 ;  NAFTA  \n\" 19 \";1;NAFTA\n",
       {{1, "19", "4.25", "NAFTA"}, {2, " 19 ", "1", "NAFTA"}}},
      {"empty cells beyond the third column are no data",
       "19;1;DIESEL;;\n",
       {{1, "19", "1", "DIESEL"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
}

TEST(AnnexCsvReader, EncodingsAndAccentedProducts) {
  const FileCase cases[] = {
      {"UTF-8 with byte-order mark (its header still recognised)",
       kBom + "NIT;Galones;Producto\r\n19;1;Gasolina de aviaci\xC3\xB3n\r\n",
       {{2, "19", "1", "GASOLINA DE AVIACION"}}},
      {"UTF-8 without mark",
       "19;1;petr\xC3\xB3leo crudo usado como combustible\n",
       {{1, "19", "1", "PETROLEO CRUDO USADO COMO COMBUSTIBLE"}}},
      {"Windows-1252 accents, case and surrounding blanks",
       "19;1;  Gas Licuado Petr\xF3leo Carburaci\xF3n \n18;2;Asf\xE1ltos\n",
       {{1, "19", "1", "GAS LICUADO PETROLEO CARBURACION"}, {2, "18", "2", "ASFALTOS"}}},
      {"a Windows-1252 NIT arrives in UTF-8",
       "\xD1"
       "19;1;DIESEL\n",
       {{1,
         "\xC3\x91"
         "19",
         "1", "DIESEL"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
}

TEST(AnnexCsvReader, DamagedEncodingsAreRefusedWhole) {
  const std::string damaged[] = {
      kBom + "19;1;Aviaci\xF3n\n",  // announces UTF-8, holds Windows-1252
      std::string("\xFF\xFE"
                  "1\0"
                  "9\0;\0",
                  8),                        // UTF-16
      "19;1;DIESEL\x81\n",                   // a byte Windows-1252 leaves undefined
      std::string("19;1;DIESEL\n\0\0", 14),  // binary
  };
  for (const std::string& bytes : damaged) {
    const AnnexFile file = ReadAnnexCsv(bytes);
    EXPECT_TRUE(file.refusal.starts_with("Error:\nEl archivo no est")) << file.refusal;
    EXPECT_TRUE(file.sales.empty());
  }
}

TEST(AnnexCsvReader, HeaderOrNone) {
  const FileCase cases[] = {
      {"any titles without digits",
       "Nit del comprador,Cantidad,Tipo\n19,1,NAFTA\n",
       {{2, "19", "1", "NAFTA"}}},
      {"a first sale is never taken for a header", "19;1;NAFTA\n", {{1, "19", "1", "NAFTA"}}},
      {"only the first line can be a header",
       "19;1;NAFTA\nNIT;Galones;Producto\n",
       {{1, "19", "1", "NAFTA"}, {2, "NIT", "Galones", "PRODUCTO"}},
       {{2, 3}}},
  };
  // The last case: a title line in the middle is data, and its "Producto"
  // names no product.
  ExpectRead(cases[0]);
  ExpectRead(cases[1]);
  const AnnexFile file = ReadAnnexCsv(cases[2].bytes);
  ASSERT_EQ(file.problems.size(), 1u);
  EXPECT_EQ(file.problems[0].line, 2);
  EXPECT_EQ(file.problems[0].column, 3);
  EXPECT_EQ(file.problems[0].message,
            "El producto \"Producto\" no es uno de los productos del anexo.");
}

// A first line naming the three columns, in any order, case and accents
// ignored, sets the order they are read in; any other first line leaves
// them as NIT, gallons, product. Problems name the file's column.
TEST(AnnexCsvReader, AFirstLineNamingTheColumnsSetsTheirOrder) {
  const FileCase cases[] = {
      {"NIT, product, gallons",
       "NIT;Producto;Galones\n19;DIESEL;10.50\n",
       {{2, "19", "10.50", "DIESEL"}}},
      {"gallons first, accents and case aside, sep= line before",
       "sep=,\ngal\xC3\xB3nes exentos, PRODUCTO ,nit\n1.5,nafta,19\n",
       {{3, "19", "1.5", "NAFTA"}}},
      {"\"Cantidad\" for the gallons, tab-separated",
       "Producto\tNit\tCantidad\nDIESEL\t19\t2\n",
       {{2, "19", "2", "DIESEL"}}},
      {"a title named twice names no order",
       "NIT;Galones;Galones\n19;1;DIESEL\n",
       {{2, "19", "1", "DIESEL"}}},
      {"titles that are not the columns' names keep the usual order",
       "Comprador;Tipo;Cantidad\n19;1;DIESEL\n",
       {{2, "19", "1", "DIESEL"}}},
      {"a second line of titles is data",
       "19;1;DIESEL\nNIT;Producto;Galones\n",
       {{1, "19", "1", "DIESEL"}},
       {{2, 3}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);

  const AnnexFile named = ReadAnnexCsv("Producto;NIT;Galones\nDIESEL;19;1.500\n");
  ASSERT_EQ(named.problems.size(), 1u);
  EXPECT_EQ(named.columnInFile, (std::array<int, 3>{2, 3, 1}));
  EXPECT_TRUE(AnnexImportReport(named, {}).find("L\xC3\xADnea 2, columna 3: ") != std::string::npos)
      << AnnexImportReport(named, {});
  EXPECT_EQ(AnnexImportReport(named, {}).find("orden"), std::string::npos);

  // Without titles, a refusal of gallons or products says the order expected.
  const AnnexFile unnamed = ReadAnnexCsv("19;DIESEL;10.50\n");
  EXPECT_TRUE(
      AnnexImportReport(unnamed, {})
          .ends_with("\n\nLas columnas se leen en el orden NIT, Galones, Producto. Si el archivo "
                     "las tiene en otro "
                     "orden, escriba sus t\xC3\xADtulos en la primera l\xC3\xADnea (por ejemplo "
                     "\"NIT;Producto;Galones\")."))
      << AnnexImportReport(unnamed, {});
}

TEST(AnnexCsvReader, TheSeparatorOfMostLinesAndExcelsSepLine) {
  const FileCase cases[] = {
      {"a trailing \";\" and a product with a comma on the first line",
       "19;1,5;" + kKerosene + ";\n140;2,5;DIESEL\n19;3;NAFTA\n",
       {{1, "19", "1.5", kKerosene}, {2, "140", "2.5", "DIESEL"}, {3, "19", "3", "NAFTA"}}},
      {"Excel's sep= line, then a header",
       "sep=;\r\nNIT;Galones;Producto\r\n19;1,5;NAFTA\r\n",
       {{3, "19", "1.5", "NAFTA"}}},
      {"sep= names the separator most lines would not give",
       "SEP=,\n19;1,5;NAFTA\n19;2,5;NAFTA\n19,3,NAFTA\n",
       {{4, "19", "3", "NAFTA"}},
       {{2, 0}, {3, 0}}},
      {"a tab sep= line", "sep=\t\n19\t1,5\tNAFTA\n", {{2, "19", "1.5", "NAFTA"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
}

TEST(AnnexCsvReader, AHeaderHasAHeadersWords) {
  const FileCase cases[] = {
      {"empty NIT and gallons are an incomplete sale, for the page to name",
       ";;DIESEL\n19;1;NAFTA\n",
       {{1, "", "", "DIESEL"}, {2, "19", "1", "NAFTA"}}},
      {"words that are no titles", "abc;def;DIESEL\n", {{1, "abc", "def", "DIESEL"}}},
      {"titles of a spreadsheet",
       "Comprador;Galones exentos;Tipo de producto\n19;1;NAFTA\n",
       {{2, "19", "1", "NAFTA"}}},
      {"a title word beside digits is data", "NIT;1;NAFTA\n", {{1, "NIT", "1", "NAFTA"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
}

TEST(AnnexCsvReader, TabsAndLineBreaksInAProductGoToThePageAsWritten) {
  // The page refuses them, as it refuses them in a NIT: a box would not
  // keep them as they were checked.
  ExpectRead({"inside and at the edges, quoted",
              "19;1;\"DIESEL\n\"\n19;1;\"\tNAFTA\"\n19;1;\"GAS\tOIL\"\n19;1;\"\t19\";\n",
              {{1, "19", "1", "DIESEL\n"},
               {3, "19", "1", "\tNAFTA"},
               {4, "19", "1", "GAS\tOIL"},
               {5, "19", "1", "\t19"}}});
}

TEST(AnnexCsvReader, DecimalMarksAndThousandsSeparators) {
  const FileCase cases[] = {
      {"points in a semicolon file",
       "19;1.25;NAFTA\n19;3;NAFTA\n",
       {{1, "19", "1.25", "NAFTA"}, {2, "19", "3", "NAFTA"}}},
      {"thousands with a point and a decimal comma", "19;1.234,50;NAFTA\n", {}, {{1, 2}}},
      {"thousands with a comma and a decimal point", "19,\"1,234.50\",NAFTA\n", {}, {{1, 2}}},
      {"two thousands points", "19;1.234.567;NAFTA\n", {}, {{1, 2}}},
      {"a decimal comma in a comma-separated file", "19,\"1,5\",NAFTA\n", {}, {{1, 2}}},
      {"a point where the file uses commas: a thousands separator",
       "19;1,5;NAFTA\n19;1.234;NAFTA\n19;2,5;NAFTA\n",
       {{1, "19", "1.5", "NAFTA"}, {3, "19", "2.5", "NAFTA"}},
       {{2, 2}}},
      {"blanks as thousands separators go to the page's numeric check",
       "19;1 234;NAFTA\n",
       {{1, "19", "1 234", "NAFTA"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
}

// A spreadsheet set to Spanish, its gallons formatted with a thousands
// mark, writes 1500 as "1.500": one mark and three digits after it is a
// thousands mark to one spreadsheet and a decimal mark to another, and is
// refused, never guessed; it does not decide the mark of the lines after it.
TEST(AnnexCsvReader, OneMarkBeforeThreeDigitsIsRefusedNeverGuessed) {
  const FileCase cases[] = {
      {"Spanish thousands format, then a correct decimal comma",
       "NIT;Galones;Producto\r\n19;1.500;DIESEL\r\n19;12,50;NAFTA\r\n19;12.345;DIESEL\r\n"
       "19;1.500,00;DIESEL\r\n19;999;NAFTA\r\n19;1.234.567;NAFTA\r\n",
       {{3, "19", "12.50", "NAFTA"}, {6, "19", "999", "NAFTA"}},
       {{2, 2}, {4, 2}, {5, 2}, {7, 2}}},
      {"a decimal comma first, then a thousands point",
       "19;2,5;NAFTA\n19;1.500;NAFTA\n",
       {{1, "19", "2.5", "NAFTA"}},
       {{2, 2}}},
      {"commas before three digits, in a tab file and quoted in a comma file",
       "19\t1,500\tDIESEL\n19\t0,125\tDIESEL\n19\t1,50\tDIESEL\n",
       {{3, "19", "1.50", "DIESEL"}},
       {{1, 2}, {2, 2}}},
      {"a comma file",
       "19,\"1,500\",DIESEL\n19,1.500,DIESEL\n19,1.5,DIESEL\n",
       {{3, "19", "1.5", "DIESEL"}},
       {{1, 2}, {2, 2}}},
      {"two, four or more digits after the mark are no thousands",
       "19;1.50;NAFTA\n19;1.5000;NAFTA\n19;1500;NAFTA\n",
       {{1, "19", "1.50", "NAFTA"}, {2, "19", "1.5000", "NAFTA"}, {3, "19", "1500", "NAFTA"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
  const AnnexFile file = ReadAnnexCsv("19;1.500;DIESEL\n");
  ASSERT_EQ(file.problems.size(), 1u);
  EXPECT_EQ(file.problems[0].message,
            "El valor \"1.500\" parece llevar separador de miles; escriba los galones sin "
            "separador de miles y con dos decimales como m\xC3\xA1ximo.");
}

// The page reads "1.500 " as 1.5, passing over blanks of every kind at
// either end; the thousands-mark rule sees the amount as the page will.
TEST(AnnexCsvReader, TheThousandsMarkRuleSeesTheAmountThePageSees) {
  const FileCase cases[] = {
      {"a quoted trailing blank", "19;\"1.500 \";DIESEL\n", {}, {{1, 2}}},
      {"a trailing no-break space", "19;1.500\xC2\xA0;DIESEL\n", {}, {{1, 2}}},
      {"a quoted trailing tab", "19;\"1.500\t\";DIESEL\n", {}, {{1, 2}}},
      {"a quoted trailing line break", "19;\"1.500\n\";DIESEL\n", {}, {{1, 2}}},
      {"a decimal comma before three digits and a blank", "19;\"12,345 \";DIESEL\n", {}, {{1, 2}}},
      {"wide spaces before and after",
       "19;\xE3\x80\x80\xE2\x80\x83"
       "1.500\xEF\xBB\xBF;DIESEL\n",
       {},
       {{1, 2}}},
      {"blanks around a good amount reach the page as written",
       "19;\"1.50 \";DIESEL\n19;\xC2\xA0"
       "12.5;NAFTA\n",
       {{1, "19", "1.50 ", "DIESEL"},
        {2, "19",
         "\xC2\xA0"
         "12.5",
         "NAFTA"}}},
  };
  for (const FileCase& c : cases) ExpectRead(c);
}

TEST(AnnexCsvReader, BlankLinesAreSkippedAndLinesStillCounted) {
  ExpectRead({"blank, blanks-only and empty-cells lines",
              "\n\n19;1;DIESEL\n   \n;;\r\n\n140;2;NAFTA\n\n",
              {{3, "19", "1", "DIESEL"}, {7, "140", "2", "NAFTA"}}});
  const AnnexFile nothing = ReadAnnexCsv(kBom + "NIT;Galones;Producto\r\n\r\n;;\r\n");
  EXPECT_EQ(nothing.refusal, "Error:\nEl archivo no contiene renglones para el anexo.");
  EXPECT_EQ(ReadAnnexCsv("").refusal, nothing.refusal);
}

TEST(AnnexCsvReader, FieldsThePageChecksPassUnchanged) {
  // Cleaning NITs, empty cells and amounts are the form's own rules: the
  // reader hands them on as written.
  ExpectRead({"NIT of zeros, empty cells, words for gallons",
              "000;1;DIESEL\n0-0;1;DIESEL\n;1;DIESEL\n19;;DIESEL\n19;1;\n19;mucho;DIESEL\n",
              {{1, "000", "1", "DIESEL"},
               {2, "0-0", "1", "DIESEL"},
               {3, "", "1", "DIESEL"},
               {4, "19", "", "DIESEL"},
               {5, "19", "1", ""},
               {6, "19", "mucho", "DIESEL"}}});
}

TEST(AnnexCsvReader, LinesThatAreNoSale) {
  ExpectRead({"unknown products, also the bulk gas the annex does not take",
              "19;1;GASOLINA\n19;1;GAS LICUADO DE PETROLEO A GRANEL\n19;1;DIESEL\n",
              {{3, "19", "1", "DIESEL"}},
              {{1, 3}, {2, 3}}});
  ExpectRead({"too few or too many columns",
              "19;1\n19;1;DIESEL;x\n19;1;DIESEL\n",
              {{3, "19", "1", "DIESEL"}},
              {{1, 0}, {2, 0}}});
  ExpectRead({"a quote never closed ends the reading",
              "19;1;DIESEL\n19;\"1;NAFTA\n140;2;NAFTA\n",
              {{1, "19", "1", "DIESEL"}},
              {{2, 0}}});
  ExpectRead({"a quote inside an unquoted value",
              "19;1;DIESEL\n1\"9;1;NAFTA\n140;2;NAFTA\n",
              {{1, "19", "1", "DIESEL"}},
              {{2, 0}}});
}

TEST(AnnexCsvReader, FiveHundredAndOneRowsAreAllRead) {
  // The 500-row limit is the form's: the reader reports every row so the
  // page can count them with those already in the annex.
  std::string bytes = "NIT;Galones;Producto\r\n";
  for (int i = 1; i <= 501; ++i)
    bytes += std::to_string(i) + ";" + std::to_string(i) + ",5;NAFTA\r\n";
  const AnnexFile file = ReadAnnexCsv(bytes);
  EXPECT_EQ(file.RowCount(), 501);
  ASSERT_EQ(file.sales.size(), 501u);
  EXPECT_EQ(file.sales.back(), (AnnexSale{502, "501", "501.5", "NAFTA"}));
}

TEST(AnnexCsvReader, AFileFarBeyondTheAnnexIsReadOnlyOneRowPastIt) {
  // The form refuses a file of more than 500 rows whole; the rest of a long
  // file is not read. Lines of empty cells are no rows and do not count.
  std::string many = "NIT;Galones;Producto\r\n";
  for (int i = 1; i <= 20'000; ++i) many += "19;1,5;NAFTA\r\n";
  const AnnexFile file = ReadAnnexCsv(many);
  EXPECT_EQ(file.RowCount(), 501);
  EXPECT_EQ(file.sales.back().line, 502);

  std::string blanksFirst;
  for (int i = 1; i <= 20'000; ++i) blanksFirst += ";;\n";
  blanksFirst += "19;1,5;NAFTA\n";
  const AnnexFile late = ReadAnnexCsv(blanksFirst);
  ASSERT_EQ(late.sales.size(), 1u);
  EXPECT_EQ(late.sales.front().line, 20'001);
}

TEST(AnnexCsvReader, FilesOnDisk) {
  const auto dir = std::filesystem::temp_directory_path() / "f7301-annex-reader";
  std::filesystem::create_directories(dir);
  const auto path = dir / "ventas.csv";
  {
    std::ofstream out(path, std::ios::binary);
    out << "19;1;NAFTA\n";
  }
  EXPECT_EQ(ReadAnnexCsvFile(path).sales, (AnnexSales{{1, "19", "1", "NAFTA"}}));
  {
    std::ofstream out(path, std::ios::binary);
    out << std::string(kMaxAnnexFileSize + 1, ' ');
  }
  EXPECT_TRUE(ReadAnnexCsvFile(path).refusal.starts_with("Error:\nEl archivo es demasiado grande"));
  EXPECT_TRUE(ReadAnnexCsvFile(dir / "falta.csv").refusal.starts_with("Error:\nNo pudo leerse"));
  std::filesystem::remove_all(dir);
}

// A pipe, folder or device chosen as the file is refused without a read
// that waits: today's reading of a pipe waits for a writer for ever.
TEST(AnnexCsvReader, OnlyARegularFileIsOpened) {
  const auto dir = std::filesystem::temp_directory_path() / "f7301-annex-kinds";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto fifo = dir / "ventas.csv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::filesystem::path& path : {fifo, dir, std::filesystem::path("/dev/zero")}) {
    SCOPED_TRACE(path.string());
    auto read = std::async(std::launch::async, [path] { return ReadAnnexCsvFile(path); });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << "the read waits";
      // A writer lets the waiting read go on.
      ::close(::open(fifo.c_str(), O_WRONLY));
    }
    EXPECT_TRUE(read.get().refusal.starts_with("Error:\nNo pudo leerse el archivo"));
  }
  std::filesystem::remove_all(dir);
}

TEST(AnnexCsvReader, TheReadStopsAtTheLimitWhateverTheFileSaysOfItsSize) {
  const auto dir = std::filesystem::temp_directory_path() / "f7301-annex-limit";
  std::filesystem::create_directories(dir);
  const auto path = dir / "ventas.csv";
  {
    std::ofstream out(path, std::ios::binary);
    out << std::string(100, 'x');
  }
  std::string bytes;
  EXPECT_EQ(ReadBoundedFile(path, 100, bytes), BoundedRead::kRead);
  EXPECT_EQ(bytes, std::string(100, 'x'));
  EXPECT_EQ(ReadBoundedFile(path, 99, bytes), BoundedRead::kTooLarge);
  EXPECT_EQ(bytes, "");
  // A file that says it is empty and holds more (as one growing meanwhile).
  EXPECT_EQ(std::filesystem::file_size("/proc/self/status"), 0u);
  EXPECT_EQ(ReadBoundedFile("/proc/self/status", 10, bytes), BoundedRead::kTooLarge);
  EXPECT_EQ(ReadBoundedFile("/proc/self/status", 1 << 20, bytes), BoundedRead::kRead);
  EXPECT_TRUE(bytes.starts_with("Name:")) << bytes;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace f7301
