// The register's reading of one declaration file: what it shows of a good
// one, and the reason it gives for every kind of file that is not one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "register/declaration_file_name.h"
#include "register/declaration_summary.h"
#include "tests/support/filed_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;
using testing::Replaced;
using testing::SampleDeclaration;
using testing::Sealed;

TEST(RegisterSummary, WhatTheListShowsOfAFiledDeclaration) {
  testing::TemporaryDirectory temp;
  SampleDeclaration d = testing::FullSample(500);
  d.numero = "13051299";
  d.nit = "12345679";
  d.desde = "20241101";
  d.fecpre = "05/12/2024";
  d.boxes[1619] = "730113050011";
  d.boxes[1621] = "1234567.89";
  const fs::path file = testing::FileDeclaration(temp.path(), d);
  ASSERT_FALSE(file.empty());
  EXPECT_TRUE(IsDeclarationFileName(file.filename().string())) << file;

  const SummaryResult read = ReadDeclarationSummary(file);
  ASSERT_TRUE(read.summary) << read.reason;
  const DeclarationSummary& s = *read.summary;
  EXPECT_EQ(s.nit, "12345679");
  // Windows-1252 in the file, UTF-8 in the list.
  EXPECT_EQ(s.name,
            "DISTRIBUIDORA DE COMBUSTIBLES Y DERIVADOS DEL PETRÓLEO DE LA COSTA SUR, "
            "SOCIEDAD ANÓNIMA");
  EXPECT_EQ(s.year, 2024);
  EXPECT_EQ(s.month, 11);
  EXPECT_EQ(s.formNumber, "13051299");
  EXPECT_EQ(s.rectifies, "730113050011");
  EXPECT_EQ(s.totalToPay, "1234567.89");
  EXPECT_EQ(s.annexRows, 500);
  EXPECT_EQ(s.generated, "05/12/2024");
  EXPECT_TRUE(read.reason.empty());
}

// Each row changes one thing of a small declaration.
TEST(RegisterSummary, BoxesAndTextsAsTheListShowsThem) {
  struct Case {
    const char* what;
    std::string box1619, fecpre, nombre;
    int annexRows;
    bool gapAfterFirstRow;
    std::string rectifies, generated, name;
    int rows;
  };
  const std::string longName(300, 'N');
  const std::vector<Case> cases = {
      {"1619 left empty is stored 0", "", "05/03/2011", "A", 0, false, "", "05/03/2011", "A", 0},
      {"1619 of a rectification", "730110203040", "05/03/2011", "A", 2, false, "730110203040",
       "05/03/2011", "A", 2},
      {"a date of another shape is not shown", "", "5/3/2011", "A", 1, false, "", "", "A", 1},
      {"line breaks and tabs become blanks", "", "05/03/2011", "UNO\r\nDOS\tTRES", 0, false, "",
       "05/03/2011", "UNO  DOS TRES", 0},
      {"a long name is cut", "", "05/03/2011", longName, 0, false, "", "05/03/2011",
       std::string(kMaxSummaryTextLength, 'N'), 0},
      // Rows left out when the form was generated end the rows, as Consultar shows them.
      {"rows after a gap", "", "05/03/2011", "A", 3, true, "", "05/03/2011", "A", 1},
  };
  for (const Case& c : cases) {
    SampleDeclaration d;
    d.boxes[1619] = c.box1619;
    d.fecpre = c.fecpre;
    d.nombre = c.nombre;
    for (int r = 0; r < c.annexRows; ++r) {
      const bool left = c.gapAfterFirstRow && r == 1;
      d.annex.push_back({left ? "" : "8000123" + std::to_string(r), "10.00", "DIESEL"});
    }
    const SummaryResult read = SummaryOfSealedText(Sealed(DeclarationXml(d)));
    ASSERT_TRUE(read.summary) << c.what << ": " << read.reason;
    EXPECT_EQ(read.summary->rectifies, c.rectifies) << c.what;
    EXPECT_EQ(read.summary->generated, c.generated) << c.what;
    EXPECT_EQ(read.summary->name, c.name) << c.what;
    EXPECT_EQ(read.summary->annexRows, c.rows) << c.what;
  }
}

TEST(RegisterSummary, TextsThatAreNotDeclarationsGiveTheirReason) {
  const std::string xml = DeclarationXml(SampleDeclaration{});
  const std::string sealed = Sealed(xml);
  std::string altered = sealed;
  altered[altered.size() / 2] = altered[altered.size() / 2] == 'A' ? 'B' : 'A';
  struct Case {
    const char* what;
    std::string text;
    std::string reason;
  };
  const std::string notSealed =
      "El sello no es válido: el archivo fue alterado o no es una declaración.";
  const std::vector<Case> cases = {
      {"empty", "", notSealed},
      {"plain XML, not sealed", xml, notSealed},
      {"one character changed", altered, notSealed},
      {"no form code", Sealed(Replaced(xml, "<CODIGO_FORMULARIO>730</CODIGO_FORMULARIO>", "")),
       "No pertenece a una declaración."},
      {"no version", Sealed(Replaced(xml, "<NUMERO_VERSION>1</NUMERO_VERSION>", "")),
       "No pertenece a una declaración."},
      {"another form", Sealed(Replaced(xml, "<NUMERO_VERSION>1<", "<NUMERO_VERSION>2<")),
       "No pertenece a un formulario RTQ-7301."},
      {"a box Consultar needs is missing",
       Sealed(Replaced(xml, "<CASILLA ID=\"1621\">0</CASILLA>", "")),
       "Le faltan datos de la declaración: Consultar no podría mostrarla."},
      {"no name", Sealed(Replaced(xml, "<NOMBRE>", "<NOMBRES>")),
       "Le faltan datos de la declaración: Consultar no podría mostrarla."},
      {"a period that is no month", Sealed(Replaced(xml, "20110301", "20111301")),
       "El periodo declarado no puede leerse."},
      {"a period of letters", Sealed(Replaced(xml, "20110301", "MARZO")),
       "El periodo declarado no puede leerse."},
  };
  for (const Case& c : cases) {
    const SummaryResult read = SummaryOfSealedText(c.text);
    EXPECT_FALSE(read.summary) << c.what;
    EXPECT_EQ(read.reason, c.reason) << c.what;
  }
}

// Nothing here may wait: a FIFO without a writer would block a plain open.
TEST(RegisterSummary, EntriesThatAreNotFilesAreNeverOpened) {
  testing::TemporaryDirectory temp;
  const fs::path good = testing::FileDeclaration(temp.path(), SampleDeclaration{});
  const fs::path fifo = temp.path() / "RTQ-fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path folder = temp.path() / "RTQ-folder";
  fs::create_directory(folder);
  const fs::path link = temp.path() / "RTQ-link";
  fs::create_symlink(good, link);
  const fs::path loop = temp.path() / "RTQ-loop";
  fs::create_symlink(loop, loop);
  const fs::path device = temp.path() / "RTQ-device";
  fs::create_symlink("/dev/zero", device);
  const fs::path big = temp.path() / "RTQ-big";
  testing::WriteBytes(big, "");
  fs::resize_file(big, kMaxDeclarationFileSize + 1);

  struct Case {
    fs::path file;
    LinkPolicy links;
    std::string reason;  // empty: read as a declaration
  };
  const std::vector<Case> cases = {
      {good, LinkPolicy::kRefuse, ""},
      {fifo, LinkPolicy::kRefuse, "Es una tubería (FIFO), no un archivo."},
      {fifo, LinkPolicy::kFollow, "Es una tubería (FIFO), no un archivo."},
      {folder, LinkPolicy::kRefuse, "Es una carpeta, no un archivo."},
      {link, LinkPolicy::kRefuse, "Es un enlace simbólico: el registro no sigue enlaces."},
      {link, LinkPolicy::kFollow, ""},
      {loop, LinkPolicy::kRefuse, "Es un enlace simbólico: el registro no sigue enlaces."},
      {loop, LinkPolicy::kFollow, "No existe o no pudo consultarse."},
      {device, LinkPolicy::kFollow, "Es un dispositivo, no un archivo."},
      {temp.path() / "RTQ-missing", LinkPolicy::kRefuse, "No existe o no pudo consultarse."},
      {big, LinkPolicy::kRefuse, "Es demasiado grande para ser una declaración."},
  };
  for (const Case& c : cases) {
    const SummaryResult read = ReadDeclarationSummary(c.file, c.links);
    EXPECT_EQ(read.reason, c.reason) << c.file;
    EXPECT_EQ(read.summary.has_value(), c.reason.empty()) << c.file;
  }
}

TEST(RegisterFileName, NamesAsValidarGivesThem) {
  struct Case {
    std::string name;
    bool declaration;
  };
  const std::vector<Case> cases = {
      {"RTQ-12345679730111030102030", false},  // number of 7 digits
      {"RTQ-123456797301110310203045", true},
      {"RTQ-9007301241213051299", true},            // a short NIT
      {"RTQ-12345K7301241213051299", true},         // check character K
      {"RTQ-7301241213051299", false},              // no NIT
      {"RTQ-123456797301111310203045", false},      // month 13
      {"RTQ-123456797301110010203045", false},      // month 00
      {"RTQ-123456797302110310203045", false},      // another form
      {"RTQ-123456797301110310203045.htm", false},  // the HTML copy
      {"rtq-123456797301110310203045", false},
      {"RTQ-12345679730111031020304x", false},
      {"RTQ-1234:56797301110310203045", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsDeclarationFileName(c.name), c.declaration) << c.name;
}

}  // namespace
}  // namespace f7301
