#include "register/register_csv.h"

#include <algorithm>
#include <string_view>

#include "annexcsv/csv_cell.h"
#include "register/register_cells.h"

namespace f7301 {
namespace {

constexpr char kSeparator = ';';

constexpr std::string_view kHeader =
    "\xEF\xBB\xBFNIT;Nombre;Periodo;Formulario;Rectifica;Total a pagar;Renglones del anexo;"
    "Generada;Estado;Avisos;Archivo\r\n";

// A cell as the list shows it, but for the total: written with the decimal
// comma a Spanish spreadsheet reads as a number ("1500,25").
std::string CsvText(const RegisterRow& row, RegisterColumn column) {
  std::string text = RegisterCellText(row, column);
  if (column == RegisterColumn::TotalAPagar) std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

std::string Line(const RegisterRow& row) {
  std::string line;
  for (int c = 0; c < kRegisterColumnCount; ++c) {
    if (c > 0) line += kSeparator;
    line += SpreadsheetCsvCell(CsvText(row, static_cast<RegisterColumn>(c)), kSeparator);
  }
  return line + "\r\n";
}

}  // namespace

std::string RegisterCsv(const std::vector<RegisterRow>& rowsShown) {
  std::string text(kHeader);
  for (const RegisterRow& row : rowsShown) text += Line(row);
  return text;
}

ReplaceResult WriteRegisterCsv(const std::filesystem::path& path,
                               const std::vector<RegisterRow>& rowsShown) {
  const std::string text = RegisterCsv(rowsShown);
  const std::string_view pieces[] = {text};
  return ReplaceFileContents(path, pieces);
}

}  // namespace f7301
