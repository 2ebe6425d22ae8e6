#pragma once
// Writing the annex to a CSV file that a spreadsheet set to Spanish opens
// with its numbers as numbers, and that the import reads back unchanged.
#include <filesystem>
#include <string>

#include "annexcsv/annex_rows.h"
#include "declaration/atomic_file.h"

namespace f7301 {

// UTF-8 with byte-order mark, the header "NIT;Galones;Producto", ";"
// between fields and "," as the decimal mark.
std::string AnnexCsvText(const AnnexSales& sales);

// Replaces `path` with the CSV text of `sales`; a failed write leaves any
// file that stood there as it was.
ReplaceResult WriteAnnexCsv(const std::filesystem::path& path, const AnnexSales& sales);

// The message when the file could not be written (UTF-8 path).
std::string AnnexExportFailure(const std::string& path);

}  // namespace f7301
