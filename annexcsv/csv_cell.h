#pragma once
// One text cell of a CSV file that people open in a spreadsheet. A cell that
// begins as a formula does (=, +, -, @, a tab or a carriage return, also
// after blanks or control characters) would be
// run by the spreadsheet when the file is opened; it is written as text
// instead, with the apostrophe that spreadsheets take as the mark of a text,
// as OWASP's advice on CSV injection says.
#include <string>
#include <string_view>

namespace f7301 {

// `value` as one cell between `separator`s: quoted when a reader would
// otherwise split, trim or misread it, and, when it could be taken for a
// formula or already begins with an apostrophe, quoted with an apostrophe
// put before it.
std::string SpreadsheetCsvCell(std::string_view value, char separator);

// A cell as read back: without one leading apostrophe, the text mark that
// SpreadsheetCsvCell (or a spreadsheet) put before it.
std::string_view WithoutTextMark(std::string_view cell);

}  // namespace f7301
