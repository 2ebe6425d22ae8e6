#pragma once
// Declarations filed as "Validar" files them, for the register's tests and
// benchmarks: <directory>/<NIT>/7301/RTQ-<NIT>7301<YYMM><number>, sealed.
#include <filesystem>
#include <string>

#include "tests/support/sample_declaration.h"

namespace f7301::testing {

// A small declaration of `nit` for the month; `rectifies` goes in box 1619.
SampleDeclaration MonthlySample(const std::string& nit, const std::string& name, int year,
                                int month, const std::string& number,
                                const std::string& rectifies = "");

// The name "Validar" gives the file of `d`.
std::string FiledName(const SampleDeclaration& d);

// Seals `d` and writes it under `directory` as "Validar" does (folders made);
// the path written, or an empty path when it could not be written.
std::filesystem::path FileDeclaration(const std::filesystem::path& directory,
                                      const SampleDeclaration& d);

}  // namespace f7301::testing
