#include "annexcsv/csv_cell.h"

#include <csv.h>

namespace f7301 {
namespace {

constexpr char kTextMark = '\'';

bool IsBlankOrControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte == ' ' || byte < 0x20 || byte == 0x7F;
}

// Spreadsheets skip blanks and control characters in front of a formula.
bool StartsAsFormula(std::string_view value) {
  if (!value.empty() && std::string_view("\t\r").find(value.front()) != std::string_view::npos) {
    return true;
  }
  while (!value.empty() && IsBlankOrControl(value.front())) value.remove_prefix(1);
  return !value.empty() && std::string_view("=+-@").find(value.front()) != std::string_view::npos;
}

// Blanks and tabs at the edges are what readers trim from unquoted cells.
bool HasTrimmableEdge(std::string_view value) {
  const auto trimmable = [](char c) { return c == ' ' || c == '\t'; };
  return !value.empty() && (trimmable(value.front()) || trimmable(value.back()));
}

std::string Quoted(std::string_view value) {
  std::string quoted(value.size() * 2 + 2, '\0');
  quoted.resize(csv_write(quoted.data(), quoted.size(), value.data(), value.size()));
  return quoted;
}

}  // namespace

std::string SpreadsheetCsvCell(std::string_view value, char separator) {
  // An apostrophe already in front is marked too, so that reading back
  // drops exactly the mark written here.
  if (StartsAsFormula(value) || value.starts_with(kTextMark)) {
    return Quoted(std::string(1, kTextMark) + std::string(value));
  }
  const char split[] = {separator, '"', '\r', '\n'};
  const bool plain =
      value.find_first_of(std::string_view(split, sizeof split)) == std::string_view::npos &&
      !HasTrimmableEdge(value);
  return plain ? std::string(value) : Quoted(value);
}

std::string_view WithoutTextMark(std::string_view cell) {
  if (cell.starts_with(kTextMark)) cell.remove_prefix(1);
  return cell;
}

}  // namespace f7301
