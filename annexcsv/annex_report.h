#pragma once
// The one message that tells the user how an annex import went.
#include <string>
#include <vector>

#include "annexcsv/annex_page_calls.h"
#include "annexcsv/annex_reader.h"

namespace f7301 {

// Caption of the import and export messages, as of the form's own.
inline constexpr const char* kAnnexMessageCaption = "Formulario RTQ-7301";

// A message lists this many problems, then says how many more there are.
inline constexpr int kListedProblems = 20;

// The message after the page answered: its refusal of the whole file, the errors that
// stopped the import (those of the file and the page's, by line), or how
// many rows came in with any warnings.
std::string AnnexImportReport(const AnnexFile& file, const AnnexImportAnswer& answer);

// The message after the export of `rows` rows to `path` (UTF-8), naming
// the annex rows begun but left incomplete, which were not exported.
std::string AnnexExportReport(int rows, const std::string& path,
                              const std::vector<int>& incomplete = {});

// An export asked of an annex without a single complete row.
inline constexpr const char* kNothingToExport =
    "Error:\nEl anexo no tiene renglones completos que exportar.";

// The page on screen did not answer as the form does (it changed meanwhile).
inline constexpr const char* kFormDidNotAnswer =
    "Error:\nEl formulario no respondi\xC3\xB3; no se import\xC3\xB3 ni export\xC3\xB3 nada.";

}  // namespace f7301
