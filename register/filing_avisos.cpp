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

// A stored amount in one form per number: no sign for zero, no zeros in
// front of the units or after the decimals ("-0001.50" is "-1.5"). A text
// that is not an amount keeps its text, and equals only itself. Views into
// the stored text: 12,000 months are compared without an allocation.
struct Amount {
  bool number = true;
  bool negative = false;
  std::string_view units, decimals, text;
  bool operator==(const Amount&) const = default;
};

Amount AmountOf(std::string_view stored) {
  if (stored.empty())
    return {.number = true, .negative = false, .units = "0", .decimals = "", .text = ""};
  std::string_view text = stored;
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  std::string_view units = text.substr(0, point);
  std::string_view decimals = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (!AllDigits(units) || !AllDigits(decimals) || (units.empty() && decimals.empty())) {
    return {.number = false, .negative = false, .units = "", .decimals = "", .text = stored};
  }
  while (units.size() > 1 && units.front() == '0') units.remove_prefix(1);
  while (!decimals.empty() && decimals.back() == '0') decimals.remove_suffix(1);
  if (units.empty()) units = "0";
  const bool zero = units == "0" && decimals.empty();
  return {.number = true,
          .negative = negative && !zero,
          .units = units,
          .decimals = decimals,
          .text = ""};
}

std::string Shown(const std::string& stored) { return stored.empty() ? "0" : stored; }

}  // namespace

std::string BalanceAviso(const DeclarationSummary& current, const DeclarationSummary& previous) {
  const auto products = static_cast<std::size_t>(kProductRowCount);
  if (current.openings.size() != products || previous.closings.size() != products) return "";
  int first = -1;
  int others = 0;
  for (int p = 0; p < kProductRowCount; ++p) {
    // The program writes a month's opening balances from the closing ones
    // of the month before: most are the same text.
    if (current.openings[p] == previous.closings[p]) continue;
    if (AmountOf(current.openings[p]) == AmountOf(previous.closings[p])) continue;
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
  const std::string name = FileNameText(file);
  if (!IsDeclarationFileName(name)) return "";
  // "RTQ-" NIT, then "7301", YYMM and the form's 8 digits.
  constexpr std::size_t kPrefix = 4, kTail = 4 + 4 + 8;
  const std::string_view nit =
      std::string_view(name).substr(kPrefix, name.size() - kPrefix - kTail);
  const std::string_view period = std::string_view(name).substr(name.size() - 12, 4);
  // The list's periods run from 2000 on: the year's last two digits.
  const int yy = summary.year % 100;
  const char declared[4] = {static_cast<char>('0' + yy / 10), static_cast<char>('0' + yy % 10),
                            static_cast<char>('0' + summary.month / 10 % 10),
                            static_cast<char>('0' + summary.month % 10)};
  if (nit == summary.nit && period == std::string_view(declared, 4)) return "";
  return "El nombre del archivo indica otro NIT o periodo";
}

}  // namespace f7301
