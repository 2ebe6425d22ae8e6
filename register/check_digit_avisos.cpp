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

std::set<std::string> CheckDigitAnswers::Unanswered(const std::set<std::string>& nits) const {
  std::set<std::string> unanswered;
  for (const std::string& nit : nits) {
    if (!m_wrong.contains(nit)) unanswered.insert(nit);
  }
  return unanswered;
}

void CheckDigitAnswers::Learn(const std::set<std::string>& asked,
                              const std::vector<std::string>& wrong) {
  for (const std::string& nit : asked) m_wrong[nit] = false;
  for (const std::string& nit : wrong) {
    if (asked.contains(nit)) m_wrong[nit] = true;
  }
}

std::set<std::string> CheckDigitAnswers::Wrong(const std::set<std::string>& nits) const {
  std::set<std::string> wrong;
  for (const std::string& nit : nits) {
    const auto at = m_wrong.find(nit);
    if (at != m_wrong.end() && at->second) wrong.insert(nit);
  }
  return wrong;
}

}  // namespace f7301
