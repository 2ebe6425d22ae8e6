#pragma once
// The register's aviso of a NIT whose check character is wrong. Whether a
// NIT's check character is right is the form's rule, and the form's scripts
// tell it (the window asks them); here, only which NITs to ask about and
// which rows then warn.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "register/register_rows.h"

namespace f7301 {

inline constexpr const char* kCheckDigitAviso = "NIT con dígito verificador inválido";

// The NITs of the declarations listed, each once, in order.
std::set<std::string> DeclaredNits(const std::vector<RegisterRow>& rows);

// Adds the aviso to every filing of a NIT in `wrongCheckDigit`: "Vigente",
// "Rectificada" and "Duplicada" rows. A "Copia" repeats its original, which
// warns already, and a missing month or a file that does not read is no
// filing. Returns how many rows were given it.
std::size_t AddCheckDigitAvisos(std::vector<RegisterRow>& rows,
                                const std::set<std::string>& wrongCheckDigit);

// What the form's scripts have answered of NITs so far, so that each NIT is
// asked of once however often the folders are read.
class CheckDigitAnswers {
 public:
  // The NITs of `nits` not answered yet.
  std::set<std::string> Unanswered(const std::set<std::string>& nits) const;
  // The answer to `asked`: those named in `wrong` have a wrong check
  // character, the others a right one. A NIT not asked of is no answer.
  void Learn(const std::set<std::string>& asked, const std::vector<std::string>& wrong);
  // The NITs of `nits` answered as wrong.
  std::set<std::string> Wrong(const std::set<std::string>& nits) const;

 private:
  std::map<std::string, bool> m_wrong;
};

}  // namespace f7301
