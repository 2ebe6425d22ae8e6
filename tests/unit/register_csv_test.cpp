// "Exportar lista...": the bytes of the register's CSV file.
#include "register/register_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

RegisterRow Declaration(FilingState state, const std::string& name, const std::string& total) {
  RegisterRow row;
  row.state = state;
  row.summary = {"12345679", name, 2024,         3,  "13051299", "730113050011",
                 total,      12,   "05/04/2024", {}, {},         ""};
  row.file = "/datos/12345679/7301/RTQ-123456797301240313051299";
  return row;
}

TEST(RegisterCsv, EveryKindOfRowAsTheAnnexExportWritesIt) {
  RegisterRow missing;
  missing.state = FilingState::kSinDeclaracion;
  missing.summary.nit = "12345679";
  missing.summary.name = "ESTACIÓN EL PROGRESO";
  missing.summary.year = 2024;
  missing.summary.month = 4;
  RegisterRow altered;
  altered.state = FilingState::kAlterada;
  altered.file = "/datos/RTQ-x;y";
  altered.reason = "No pertenece a una declaración.";
  RegisterRow noLink = Declaration(FilingState::kVigente, "LA \"ESQUINA\"", "0");
  noLink.summary.rectifies = "";
  noLink.summary.generated = "";
  noLink.avisos = "Rectifica un formulario que no está en las carpetas | El nombre del archivo";
  // A name that is not UTF-8 is written as the window shows it.
  noLink.file = "/datos/RTQ-\xF1o\xC3";

  const std::vector<RegisterRow> rows = {
      Declaration(FilingState::kRectificada, "ESTACIÓN EL PROGRESO", "1500.25"), missing, noLink,
      altered};
  EXPECT_EQ(RegisterCsv(rows),
            "\xEF\xBB\xBF"
            "NIT;Nombre;Periodo;Formulario;Rectifica;Total a pagar;Renglones del anexo;Generada;"
            "Estado;Avisos;Archivo\r\n"
            "12345679;ESTACIÓN EL PROGRESO;03/2024;13051299;730113050011;1500,25;12;05/04/2024;"
            "Rectificada;;/datos/12345679/7301/RTQ-123456797301240313051299\r\n"
            "12345679;ESTACIÓN EL PROGRESO;04/2024;;;;;;Sin declaración;;\r\n"
            "12345679;\"LA \"\"ESQUINA\"\"\";03/2024;13051299;;0;12;;Vigente;"
            "Rectifica un formulario que no está en las carpetas | El nombre del archivo;"
            "/datos/RTQ-\xEF\xBF\xBDo\xEF\xBF\xBD\r\n"
            ";;;;;;;;Alterada o ilegible;;\"/datos/RTQ-x;y\"\r\n");
  EXPECT_EQ(RegisterCsv({}),
            "\xEF\xBB\xBFNIT;Nombre;Periodo;Formulario;Rectifica;Total a pagar;"
            "Renglones del anexo;Generada;Estado;Avisos;Archivo\r\n");
}

// A crafted declaration's name must not run in the spreadsheet that opens
// the list.
TEST(RegisterCsv, TextsThatWouldRunAsFormulasAreWrittenAsText) {
  const std::vector<std::pair<std::string, std::string>> cells = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+19", "\"'+19\""},
      {"-2+3", "\"'-2+3\""},
      {"@A1", "\"'@A1\""},
      {"\tTAB", "\"'\tTAB\""},
      {"\rCR", "\"'\rCR\""},
      {"NORMAL = 1", "NORMAL = 1"},
      {" BLANCO", "\" BLANCO\""},
      // Blanks and control characters before a formula do not hide it.
      {"  =1+2", "\"'  =1+2\""},
      {"\x01\x02@A1", "\"'\x01\x02@A1\""},
      {" \n-3", "\"' \n-3\""},
      {"'APOSTROFE", "\"''APOSTROFE\""},
      {"", ""},
  };
  for (const auto& [value, written] : cells) {
    const std::string csv = RegisterCsv({Declaration(FilingState::kVigente, value, "0")});
    EXPECT_NE(csv.find("\r\n12345679;" + written + ";03/2024;"), std::string::npos) << value;
  }
}

TEST(RegisterCsv, WrittenByReplacingTheFile) {
  testing::TemporaryDirectory temp;
  const auto file = temp.path() / "lista.csv";
  testing::WriteBytes(file, "antes");
  const std::vector<RegisterRow> rows = {Declaration(FilingState::kVigente, "A", "1.00")};
  EXPECT_EQ(WriteRegisterCsv(file, rows), ReplaceResult::kReplaced);
  EXPECT_EQ(testing::FileBytes(file), RegisterCsv(rows));
  EXPECT_EQ(WriteRegisterCsv(temp.path() / "no" / "lista.csv", rows), ReplaceResult::kCannotCreate);
}

}  // namespace
}  // namespace f7301
