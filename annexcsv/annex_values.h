#pragma once
// The values of an annex file as the form takes them: gallons written with
// the decimal point of the page, products named exactly as the form's list
// names them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace f7301 {

// How a file writes its decimal mark: "." always may, "," only when it does
// not separate fields. The first amount with a mark fixes the file's mark.
class DecimalMark {
 public:
  explicit DecimalMark(char separator) : m_commaAllowed(separator != ',') {}

  struct Gallons {
    std::string text;     // with "." as the mark, ready for the page
    std::string problem;  // empty when the amount may go to the page
  };

  // Never guesses at thousands separators: an amount with two marks, with
  // one mark followed by exactly three digits ("1.500", "12,345"), or with
  // the mark the rest of the file does not use, is refused.
  Gallons Read(std::string_view cell);

 private:
  bool m_commaAllowed;
  char m_fileMark = 0;
};

// The product of the form's annex list that `name` stands for, ignoring case,
// accents and surrounding blanks; nothing when it names none of them.
std::optional<std::string> MatchAnnexProduct(std::string_view name);

// The column of the annex a column title names exactly, ignoring case,
// accents and surrounding blanks: 0 for "NIT", 1 for "Galones" (also
// "Cantidad" or "Galones exentos"), 2 for "Producto"; nothing for any other.
std::optional<std::size_t> AnnexColumnNamed(std::string_view title);

// Whether `cell` holds one of the words of an annex file's column titles
// ("NIT", "Galones", "Cantidad", "Producto", "Tipo", "Comprador"), in any
// case and with or without accents.
bool HasTitleWord(std::string_view cell);

}  // namespace f7301
