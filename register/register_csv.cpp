#include "register/register_csv.h"

#include <algorithm>
#include <string_view>

#include "annexcsv/csv_cell.h"
#include "declaration/declaration_paths.h"

namespace f7301 {
namespace {

constexpr char kSeparator = ';';

constexpr std::string_view kHeader =
    "\xEF\xBB\xBFNIT;Nombre;Periodo;Formulario;Rectifica;Total a pagar;Renglones del anexo;"
    "Generada;Estado;Archivo\r\n";

struct Cells {
  std::string nit, name, period, number, rectifies, total, annexRows, generated, state, file;
};

// The decimal comma a Spanish spreadsheet reads as a number ("1500,25").
std::string WithDecimalComma(std::string amount) {
  std::replace(amount.begin(), amount.end(), '.', ',');
  return amount;
}

Cells CellsOf(const RegisterRow& row) {
  Cells cells;
  cells.state = std::string(FilingStateText(row.state));
  if (!row.file.empty()) cells.file = PathToUtf8(row.file);
  if (row.state == FilingState::kAlterada) return cells;
  const DeclarationSummary& s = row.summary;
  cells.nit = s.nit;
  cells.name = s.name;
  cells.period = PeriodText(s.year, s.month);
  if (row.state == FilingState::kSinDeclaracion) return cells;
  cells.number = s.formNumber;
  cells.rectifies = s.rectifies;
  cells.total = WithDecimalComma(s.totalToPay);
  cells.annexRows = std::to_string(s.annexRows);
  cells.generated = s.generated;
  return cells;
}

std::string Line(const Cells& c) {
  std::string line;
  bool first = true;
  for (const std::string* cell : {&c.nit, &c.name, &c.period, &c.number, &c.rectifies, &c.total,
                                  &c.annexRows, &c.generated, &c.state, &c.file}) {
    if (!first) line += kSeparator;
    first = false;
    line += SpreadsheetCsvCell(*cell, kSeparator);
  }
  return line + "\r\n";
}

}  // namespace

std::string RegisterCsv(const std::vector<RegisterRow>& rowsShown) {
  std::string text(kHeader);
  for (const RegisterRow& row : rowsShown) text += Line(CellsOf(row));
  return text;
}

ReplaceResult WriteRegisterCsv(const std::filesystem::path& path,
                               const std::vector<RegisterRow>& rowsShown) {
  const std::string text = RegisterCsv(rowsShown);
  const std::string_view pieces[] = {text};
  return ReplaceFileContents(path, pieces);
}

}  // namespace f7301
