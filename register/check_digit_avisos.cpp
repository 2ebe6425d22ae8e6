#include "register/check_digit_avisos.h"

#include "register/filing_avisos.h"

namespace f7301 {
namespace {

bool IsFiling(FilingState state) {
  return state == FilingState::kVigente || state == FilingState::kRectificada ||
         state == FilingState::kDuplicada;
}

}  // namespace

std::set<std::string> DeclaredNits(const std::vector<RegisterRow>& rows) {
  std::set<std::string> nits;
  for (const RegisterRow& row : rows) {
    if (IsFiling(row.state)) nits.insert(row.summary.nit);
  }
  return nits;
}

std::size_t AddCheckDigitAvisos(std::vector<RegisterRow>& rows,
                                const std::set<std::string>& wrongCheckDigit) {
  if (wrongCheckDigit.empty()) return 0;
  std::size_t added = 0;
  for (RegisterRow& row : rows) {
    if (!IsFiling(row.state) || !wrongCheckDigit.contains(row.summary.nit)) continue;
    if (!row.avisos.empty()) row.avisos += kAvisoSeparator;
    row.avisos += kCheckDigitAviso;
    ++added;
  }
  return added;
}

}  // namespace f7301
