#include "register/register_cells.h"

#include "declaration/cp1252.h"
#include "declaration/declaration_paths.h"

namespace f7301 {
namespace {

// The columns a missing month shows: whose month it is and which.
bool NamesTheMonth(RegisterColumn column) {
  return column == RegisterColumn::Nit || column == RegisterColumn::Nombre ||
         column == RegisterColumn::Periodo;
}

std::string SummaryText(const DeclarationSummary& s, RegisterColumn column) {
  switch (column) {
    case RegisterColumn::Nit:
      return s.nit;
    case RegisterColumn::Nombre:
      return s.name;
    case RegisterColumn::Periodo:
      return PeriodText(s.year, s.month);
    case RegisterColumn::Formulario:
      return s.formNumber;
    case RegisterColumn::Rectifica:
      return s.rectifies;
    case RegisterColumn::TotalAPagar:
      return s.totalToPay;
    case RegisterColumn::RenglonesAnexo:
      return std::to_string(s.annexRows);
    case RegisterColumn::Generada:
      return s.generated;
    case RegisterColumn::Estado:
    case RegisterColumn::Avisos:
    case RegisterColumn::Archivo:
      break;
  }
  return {};
}

}  // namespace

std::string RegisterCellText(const RegisterRow& row, RegisterColumn column) {
  if (column == RegisterColumn::Estado) return std::string(FilingStateText(row.state));
  if (column == RegisterColumn::Avisos) return row.avisos;
  if (column == RegisterColumn::Archivo) {
    return row.state == FilingState::kSinDeclaracion
               ? std::string()
               : WithReplacementCharacters(PathToUtf8(row.file));
  }
  if (row.state == FilingState::kAlterada) return {};
  if (row.state == FilingState::kSinDeclaracion && !NamesTheMonth(column)) return {};
  return SummaryText(row.summary, column);
}

}  // namespace f7301
