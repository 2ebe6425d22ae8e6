#pragma once
// What the program asks of the form page to import or export the annex, and
// how it reads the page's answers. The page holds the rules of every field:
// the program hands it the rows read from a file and it checks, and only
// when every row passes, fills the annex (see importaanexo in the page
// scripts).
#include <optional>
#include <string>
#include <vector>

#include "annexcsv/annex_reader.h"

namespace f7301 {

// The script that offers the page the rows of `file`; it evaluates to the
// page's answer as JSON text.
std::string AnnexImportScript(const AnnexFile& file);

struct AnnexImportAnswer {
  std::string
      refusal;       // set when the page refuses the file whole (past 500 rows, a row in the way)
  int imported = 0;  // rows now on the page (0 when any row failed)
  int firstRow = 0;  // the annex row the first of them went to
  AnnexProblems problems;  // errors and warnings, by line of the file
};

// Nothing when the page's answer is not what the import script returns.
std::optional<AnnexImportAnswer> ParseAnnexImportAnswer(const std::string& json);

// The script that asks the page for the complete rows of its annex, as JSON.
std::string AnnexExportScript();

struct AnnexExportAnswer {
  std::string refusal;  // set when a row cannot be exported: nothing is written
  AnnexSales sales;
  std::vector<int> incomplete;  // annex rows begun but incomplete, not exported
};
std::optional<AnnexExportAnswer> ParseAnnexExportAnswer(const std::string& json);

}  // namespace f7301
