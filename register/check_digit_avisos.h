#pragma once
// The register's aviso of a NIT whose check character is wrong. Whether a
// NIT's check character is right is the form's rule, and the form's scripts
// tell it (the window asks them); here, only which NITs to ask about and
// which rows then warn.
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

}  // namespace f7301
