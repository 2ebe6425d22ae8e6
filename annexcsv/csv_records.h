#pragma once
// The records of a CSV text, read by Debian's libcsv, each with the line of
// the file it starts on, and the choice of separator a file was written with.
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

// Reads every record of `text` with `separator` between fields. Unquoted
// fields lose their surrounding blanks; lines of blanks only are skipped.
// With `firstOnly`, stops after the first record.
CsvRecords ReadCsvRecords(std::string_view text, char separator, bool firstOnly = false);

// The separator of the file: tab, ";" or ",", the first of them in that
// order that splits the first record into `fields` fields; failing that,
// the one that splits it into most fields.
char DetectSeparator(std::string_view text, std::size_t fields);

}  // namespace f7301
