#pragma once
// Reading a list of exempt sales (NIT, gallons, product per line) from a CSV
// file as spreadsheets and billing systems write it. The reader only takes
// the file apart; the rules of each field are the form page's, which checks
// the rows before any of them enters the annex.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "annexcsv/annex_rows.h"

namespace f7301 {

// Far above 500 lines of any sensible length; a larger file is no annex.
inline constexpr std::uintmax_t kMaxAnnexFileSize = 1024u * 1024u;

struct AnnexFile {
  // Set when the file cannot be taken at all (unreadable, too large, not
  // text, no rows); a user message beginning "Error:\n".
  std::string refusal;
  AnnexSales sales;        // the rows fit to go to the page
  AnnexProblems problems;  // lines refused while reading
  int refusedRows = 0;     // data lines refused while reading
  char separator = 0;
  // Where each column of the annex (NIT, gallons, product) stands in the
  // file, counted from 1: a first line naming the three sets it, else they
  // stand in that order. Problems name the annex's column; the report says
  // the file's.
  std::array<int, 3> columnInFile = {1, 2, 3};
  bool columnsNamed = false;

  // Every data line of the file, taken or refused.
  int RowCount() const { return static_cast<int>(sales.size()) + refusedRows; }
};

AnnexFile ReadAnnexCsv(std::string_view bytes);
AnnexFile ReadAnnexCsvFile(const std::filesystem::path& path);

}  // namespace f7301
