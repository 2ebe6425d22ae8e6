// Reads arbitrary bytes as an annex file, writes the rows it took as the
// export writes them and reads that back. Neither read may crash, hang or
// read outside its input; no written cell may begin as a formula; and the
// export of what an import took reads back as the same rows, without a
// single problem.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "annexcsv/annex_reader.h"
#include "annexcsv/annex_writer.h"
#include "annexcsv/csv_records.h"

namespace {

bool StartsAsFormula(const std::string& cell) {
  return !cell.empty() && std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos;
}

bool SameRows(const f7301::AnnexSales& a, const f7301::AnnexSales& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].nit != b[i].nit || a[i].gallons != b[i].gallons || a[i].product != b[i].product) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > f7301::kMaxAnnexFileSize) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const f7301::AnnexFile file = f7301::ReadAnnexCsv(bytes);
  if (!file.refusal.empty() && !file.sales.empty()) std::abort();
  for (const f7301::AnnexProblem& p : file.problems) {
    if (p.line < 1 || p.column < 0 || p.column > 3 || p.message.empty()) std::abort();
  }

  const std::string written = f7301::AnnexCsvText(file.sales);
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  const f7301::CsvRecords cells = f7301::ReadCsvRecords(written.substr(kBom.size()), ';');
  if (cells.brokenLine || cells.records.size() != file.sales.size() + 1) std::abort();
  for (const f7301::CsvRecord& record : cells.records) {
    if (record.fields.size() != 3) std::abort();
    for (const std::string& cell : record.fields) {
      if (StartsAsFormula(cell)) std::abort();
    }
  }

  if (file.sales.empty()) return 0;
  const f7301::AnnexFile back = f7301::ReadAnnexCsv(written);
  if (!back.refusal.empty() || !back.problems.empty() || back.separator != ';') std::abort();
  if (!SameRows(back.sales, file.sales)) std::abort();
  return 0;
}
