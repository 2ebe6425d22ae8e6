#pragma once
// The register's benchmark folder: sealed declarations as "Validar" files
// them (<folder>/<NIT>/7301/RTQ-...), one per taxpayer and month, a tenth of
// them with a full annex of 500 rows.
#include <cstddef>
#include <filesystem>

namespace f7301::bench {

struct RegisterFilesSpec {
  int taxpayers = 100;
  int years = 10;
  int firstYear = 2015;
  int fullAnnexEvery = 10;  // every tenth declaration has 500 annex rows
};

// Files them under `folder`; the number of files written (fewer when some
// could not be written).
std::size_t MakeRegisterFiles(const std::filesystem::path& folder, const RegisterFilesSpec& spec);

}  // namespace f7301::bench
