#pragma once
// The records of a CSV text, read by Debian's libcsv, each with the line of
// the file it starts on, and the choice of separator a file was written with.
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace f7301 {

struct CsvRecord {
  int line = 0;  // counted from 1; CR LF, LF and a lone CR each end a line
  std::vector<std::string> fields;
};

struct CsvRecords {
  std::vector<CsvRecord> records;
  // The line where the text stopped making sense as CSV (a quote that is
  // never closed, a quote inside an unquoted field); records after it are
  // not read.
  std::optional<int> brokenLine;
};

// No limit on the records read.
inline constexpr std::size_t kEveryRecord = std::numeric_limits<std::size_t>::max();

// Reads every record of `text` with `separator` between fields. Unquoted
// fields lose their surrounding blanks; lines of blanks only, and records of
// empty cells only, are skipped.
// With `firstOnly`, stops after the first record; in any case after
// `mostWithData` records that hold something (records of empty cells only
// are not counted).
CsvRecords ReadCsvRecords(std::string_view text, char separator, bool firstOnly = false,
                          std::size_t mostWithData = kEveryRecord);

// Whether `record` holds `fields` fields, any beyond them empty: the empty
// cells spreadsheets write beyond the used columns are no data.
bool HasFields(const CsvRecord& record, std::size_t fields);

// The separator of the file: tab, ";" or ",", the one that splits most
// records into `fields` fields (the first of them in that order on a tie);
// when none does, the one that splits the first record into most fields.
// Only the first `mostWithData` records that hold something are looked at.
char DetectSeparator(std::string_view text, std::size_t fields,
                     std::size_t mostWithData = kEveryRecord);

// The separator an Excel "sep=;" first line names (tab, ";" or ","), if the
// text begins with one.
std::optional<char> NamedSeparator(std::string_view text);

}  // namespace f7301
