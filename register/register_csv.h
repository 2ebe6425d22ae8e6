#pragma once
// "Exportar lista...": the rows shown, as the annex export writes a CSV file
// (UTF-8 with byte-order mark, ";" between fields, decimal comma).
#include <filesystem>
#include <string>
#include <vector>

#include "declaration/atomic_file.h"
#include "register/register_rows.h"

namespace f7301 {

// The header, then one line per row in the order given. A text that a
// spreadsheet would run as a formula is written as text.
std::string RegisterCsv(const std::vector<RegisterRow>& rowsShown);

// Replaces `path` with RegisterCsv(rowsShown); a failed write leaves any file
// that stood there as it was.
ReplaceResult WriteRegisterCsv(const std::filesystem::path& path,
                               const std::vector<RegisterRow>& rowsShown);

}  // namespace f7301
