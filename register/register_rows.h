#pragma once
// The register's list: every declaration found with its state, a row for
// each month a taxpayer missed, and the order the list is shown in.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
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
};

// States, missing months and order:
// - A declaration rectifies another when its box 1619 is "7301" + the
//   other's form number and both carry the same NIT: form numbers come from
//   the clock of the moment the form was opened, so two taxpayers' forms can
//   share one, and a taxpayer rectifies only their own declarations. A
//   declaration never rectifies one with its own number (a copy of itself).
// - Of the declarations of one NIT and period that nothing rectifies, the
//   last in the list's order is "Vigente" and the others "Duplicada".
// - Every month between a taxpayer's first and latest period without a
//   declaration gets a "Sin declaración" row, named after the taxpayer's
//   latest declaration.
// - Order: NIT (shorter first, so NITs of digits go in numeric order), period,
//   an original before the declarations that rectify it, the file's
//   modification time, the path; files that do not read come last, by path.
std::vector<RegisterRow> BuildRegisterRows(const std::vector<FoundDeclaration>& found);

struct RegisterCounts {
  std::size_t declarations = 0;  // rows of files read as declarations
  std::size_t taxpayers = 0;     // distinct NITs
  std::size_t missingMonths = 0;
  std::size_t unreadable = 0;  // files named as declarations that are none
};

RegisterCounts CountRows(const std::vector<RegisterRow>& rows);

// "MM/AAAA", as the list shows a period.
std::string PeriodText(int year, int month);

}  // namespace f7301
