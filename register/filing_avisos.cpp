#include "register/filing_avisos.h"

#include <string_view>

#include "declaration/cp1252.h"
#include "declaration/declaration_paths.h"
#include "register/declaration_file_name.h"
#include "register/register_rows.h"

namespace f7301 {
namespace {

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A stored amount as one text per number: no sign for zero, no zeros in
// front of the units or after the decimals ("-0001.50" is "-1.5"). A text
// that is not an amount stays as it is, and equals only itself.
std::string SameNumberText(std::string_view stored) {
  std::string_view text = stored;
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  std::string_view units = text.substr(0, point);
  std::string_view decimals = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (!AllDigits(units) || !AllDigits(decimals) || (units.empty() && decimals.empty())) {
    return stored.empty() ? "0" : "?" + std::string(stored);
  }
  while (units.size() > 1 && units.front() == '0') units.remove_prefix(1);
  while (!decimals.empty() && decimals.back() == '0') decimals.remove_suffix(1);
  std::string number = units.empty() ? "0" : std::string(units);
  if (!decimals.empty()) number += "." + std::string(decimals);
  return negative && number != "0" ? "-" + number : number;
}

std::string Shown(const std::string& stored) { return stored.empty() ? "0" : stored; }

}  // namespace

std::string BalanceAviso(const DeclarationSummary& current, const DeclarationSummary& previous) {
  const auto products = static_cast<std::size_t>(kProductRowCount);
  if (current.openings.size() != products || previous.closings.size() != products) return "";
  int first = -1;
  int others = 0;
  for (int p = 0; p < kProductRowCount; ++p) {
    if (SameNumberText(current.openings[p]) == SameNumberText(previous.closings[p])) continue;
    if (first < 0) {
      first = p;
    } else {
      ++others;
    }
  }
  if (first < 0) return "";
  std::string aviso = "Saldo inicial distinto del saldo final de " +
                      PeriodText(previous.year, previous.month) + ": " +
                      Cp1252ToUtf8(kGridRows[first].label) + " " + Shown(current.openings[first]) +
                      " en lugar de " + Shown(previous.closings[first]);
  if (others == 1) aviso += " y 1 producto más";
  if (others > 1) aviso += " y " + std::to_string(others) + " productos más";
  return aviso;
}

std::string FileNameAviso(const std::filesystem::path& file, const DeclarationSummary& summary) {
  const std::string name = PathToUtf8(file.filename());
  if (!IsDeclarationFileName(name)) return "";
  // "RTQ-" NIT, then "7301", YYMM and the form's 8 digits.
  constexpr std::size_t kPrefix = 4, kTail = 4 + 4 + 8;
  const std::string_view nit =
      std::string_view(name).substr(kPrefix, name.size() - kPrefix - kTail);
  const std::string_view period = std::string_view(name).substr(name.size() - 12, 4);
  // PeriodText gives "MM/AAAA"; the name writes YYMM.
  const std::string shown = PeriodText(summary.year, summary.month);
  const std::string declared = shown.substr(shown.size() - 2) + shown.substr(0, 2);
  if (nit == summary.nit && period == declared) return "";
  return "El nombre del archivo indica otro NIT o periodo";
}

}  // namespace f7301
