#pragma once
// The register's list: every declaration found with its state, a row for
// each month a taxpayer missed, and the order the list is shown in.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "register/declaration_summary.h"
#include "register/filing_state.h"

namespace f7301 {

// A declaration file as found and read.
struct FoundDeclaration {
  std::filesystem::path file;
  std::int64_t mtimeNs = 0;
  std::optional<DeclarationSummary> summary;  // none when it did not read
  std::string reason;                         // why it did not read
};

struct RegisterRow {
  FilingState state = FilingState::kAlterada;
  // For kSinDeclaracion only nit, name, year and month; empty for kAlterada.
  DeclarationSummary summary;
  std::filesystem::path file;  // empty for kSinDeclaracion
  std::int64_t mtimeNs = 0;
  std::string reason;  // for kAlterada: why the file does not read
  std::string avisos;  // what the row warns of, joined by kAvisoSeparator; often empty
};

struct RowOptions {
  // False when some folder was not walked to its end: a month not found may
  // then be filed all the same, and no "Sin declaración" row is made.
  bool missingMonths = true;
  // The month of today: no later month is missing, and a period after
  // December of the next year cannot exist. 0: taken from the clock.
  int currentYear = 0, currentMonth = 0;
  // Threads that make the rows (the caller's counts as one): each
  // taxpayer's rows depend on that taxpayer's declarations alone.
  unsigned threads = 1;
};

// States, missing months and order:
// - A declaration whose period is before 01/2000 or after December of next
//   year is not one anybody filed: "Alterada o ilegible", with the reason.
// - A file with the NIT, form number and bytes of another is a "Copia" of
//   the oldest of them (by generation date, modification time, path), listed
//   right after it and in no other rule.
// - A declaration rectifies another when its box 1619 is "7301" + the
//   other's form number and both carry the same NIT and period (see
//   LinkRectifications): form numbers come from the clock of the moment the
//   form was opened, so two taxpayers' forms can share one.
// - Of the declarations of one NIT and period that nothing rectifies, the
//   last in the list's order is "Vigente" and the others "Duplicada": every
//   month with a declaration that reads has exactly one "Vigente".
// - A "Vigente" declaration whose opening balances are not the closing
//   balances of the "Vigente" one of the month before gets an aviso.
// - Each month without a declaration between a taxpayer's first and latest
//   period, at most 120 months back from the latest and never after the
//   current month, gets a "Sin declaración" row named after the taxpayer's
//   latest declaration (unless `options` says the folders were not all read).
// - Order: NIT (shorter first, so NITs of digits go in numeric order), period,
//   an original before the declarations that rectify it, the file's
//   modification time, the path; files that do not read come last, by path.
std::vector<RegisterRow> BuildRegisterRows(const std::vector<FoundDeclaration>& found,
                                           const RowOptions& options = {});

// The row of the declaration in force of the same NIT and period as
// rows[index]; none when there is no such row.
std::optional<std::size_t> InForceRow(const std::vector<RegisterRow>& rows, std::size_t index);

struct RegisterCounts {
  std::size_t declarations = 0;  // rows of declarations filed, copies not counted
  std::size_t taxpayers = 0;     // distinct NITs
  std::size_t missingMonths = 0;
  std::size_t unreadable = 0;  // files named as declarations that are none
  std::size_t copies = 0;
  std::size_t withAvisos = 0;  // rows that warn of something
};

RegisterCounts CountRows(const std::vector<RegisterRow>& rows);

// The same, a row at a time: the window counts the rows its filter shows
// without copying them. The rows must outlive the counter.
class CRegisterCounter {
 public:
  void Add(const RegisterRow& row);
  RegisterCounts Counts() const;

 private:
  RegisterCounts m_counts;
  std::set<std::string_view> m_nits;
};

// "MM/AAAA", as the list shows a period.
std::string PeriodText(int year, int month);

}  // namespace f7301
