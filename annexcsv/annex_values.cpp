#include "annexcsv/annex_values.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "annexcsv/quoted_cell.h"
#include "declaration/cp1252.h"
#include "formpage/field_model.h"

namespace f7301 {
namespace {

constexpr const char* kThousands = "Los galones no deben llevar separador de miles.";

std::string CommaNotAllowed() {
  return "Los galones usan \",\" como marca decimal en un archivo separado por comas; "
         "use el punto.";
}

std::string LooksLikeThousands(std::string_view amount) {
  return "El valor " + QuotedCell(amount) +
         " parece llevar separador de miles; escriba los galones sin separador de miles y con "
         "dos decimales como m\xC3\xA1ximo.";
}

// One mark and three digits after it: "1.500" is fifteen hundred to one
// spreadsheet and one and a half to another.
bool IsAmbiguousMark(std::string_view amount, std::size_t mark) {
  const std::string_view after = amount.substr(mark + 1);
  return after.size() == 3 &&
         std::all_of(after.begin(), after.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The blanks the page's reading of a number passes over at either end: the
// ASCII ones, the line breaks, and Unicode's spaces (no-break, the wide
// ones, the byte-order mark), here in UTF-8.
constexpr std::array<std::string_view, 25> kNumberBlanks = {" ",
                                                            "\t",
                                                            "\n",
                                                            "\v",
                                                            "\f",
                                                            "\r",
                                                            "\xC2\xA0",      // no-break space
                                                            "\xEF\xBB\xBF",  // byte-order mark
                                                            "\xE1\x9A\x80",  // ogham space mark
                                                            "\xE2\x80\x80",
                                                            "\xE2\x80\x81",
                                                            "\xE2\x80\x82",
                                                            "\xE2\x80\x83",
                                                            "\xE2\x80\x84",
                                                            "\xE2\x80\x85",
                                                            "\xE2\x80\x86",
                                                            "\xE2\x80\x87",
                                                            "\xE2\x80\x88",
                                                            "\xE2\x80\x89",
                                                            "\xE2\x80\x8A",
                                                            "\xE2\x80\xA8",
                                                            "\xE2\x80\xA9",
                                                            "\xE2\x80\xAF",
                                                            "\xE2\x81\x9F",
                                                            "\xE3\x80\x80"};

std::size_t BlankAt(std::string_view text, bool atEnd) {
  if (text.empty()) return 0;
  // Every blank begins and ends with a byte below "!" or above ASCII, so an
  // amount that begins or ends with a digit is passed at one look.
  const auto edge = static_cast<unsigned char>(atEnd ? text.back() : text.front());
  if (edge > ' ' && edge < 0x80) return 0;
  for (std::string_view blank : kNumberBlanks) {
    if (atEnd ? text.ends_with(blank) : text.starts_with(blank)) return blank.size();
  }
  return 0;
}

// The amount as the page reads it: "1.500 " is 1.5 to the page, so the
// thousands-mark rule must see "1.500".
std::string_view WithoutNumberBlanks(std::string_view amount) {
  while (const std::size_t size = BlankAt(amount, false)) amount.remove_prefix(size);
  while (const std::size_t size = BlankAt(amount, true)) amount.remove_suffix(size);
  return amount;
}

std::string OtherMark(char fileMark) {
  return std::string("La marca decimal no es la del resto del archivo (\"") + fileMark +
         "\"); los galones no deben llevar separador de miles.";
}

// Windows-1252 letters 0xC0..0xFF without their accents, in capitals.
constexpr std::string_view kPlainLatin1 =
    "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTSAAAAAAACEEEEIIIIDNOOOOO/OUUUUYTY";

char PlainCapital(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0xC0) return kPlainLatin1[u - 0xC0];
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return c;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n\xA0");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n\xA0") - first + 1);
}

// Capitals without accents, the form in which names are compared.
std::string Folded(std::string_view utf8) {
  std::string folded = Utf8ToCp1252(utf8);
  std::transform(folded.begin(), folded.end(), folded.begin(), PlainCapital);
  return std::string(TrimBlanks(folded));
}

}  // namespace

// The rule looks at the amount as the page will read it; the cell itself
// goes to the page, which checks it as it checks a typed one.
DecimalMark::Gallons DecimalMark::Read(std::string_view cell) {
  const std::string_view amount = WithoutNumberBlanks(cell);
  const auto points = std::count(amount.begin(), amount.end(), '.');
  const auto commas = std::count(amount.begin(), amount.end(), ',');
  if (points + commas > 1) return {std::string(cell), kThousands};
  if (points + commas == 0) return {std::string(cell), {}};
  const char mark = points == 1 ? '.' : ',';
  // Refused before it could fix the file's mark: a later "12,50" stays good.
  if (IsAmbiguousMark(amount, amount.find(mark)))
    return {std::string(cell), LooksLikeThousands(amount)};
  if (mark == ',' && !m_commaAllowed) return {std::string(cell), CommaNotAllowed()};
  if (m_fileMark == 0) m_fileMark = mark;
  if (mark != m_fileMark) return {std::string(cell), OtherMark(m_fileMark)};
  std::string text(cell);
  std::replace(text.begin(), text.end(), ',', '.');
  return {text, {}};
}

std::optional<std::string> MatchAnnexProduct(std::string_view name) {
  // Folded once: a file of many thousand lines asks for each of them.
  static const std::vector<std::string> folded = [] {
    std::vector<std::string> names;
    for (const char* product : kAnnexProducts) names.push_back(Folded(product));
    return names;
  }();
  const std::string wanted = Folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (folded[i] == wanted) return std::string(kAnnexProducts[i]);
  }
  return std::nullopt;
}

std::optional<std::size_t> AnnexColumnNamed(std::string_view title) {
  constexpr std::array<std::pair<std::string_view, std::size_t>, 5> kTitles = {
      {{"NIT", 0}, {"GALONES", 1}, {"CANTIDAD", 1}, {"GALONES EXENTOS", 1}, {"PRODUCTO", 2}}};
  const std::string folded = Folded(title);
  for (const auto& [name, column] : kTitles) {
    if (folded == name) return column;
  }
  return std::nullopt;
}

bool HasTitleWord(std::string_view cell) {
  constexpr std::array<std::string_view, 7> kTitleWords = {
      "NIT", "GALON", "GALLON", "CANTIDAD", "PRODUCT", "TIPO", "COMPRADOR"};
  const std::string folded = Folded(cell);
  return std::any_of(kTitleWords.begin(), kTitleWords.end(),
                     [&](std::string_view word) { return folded.find(word) != std::string::npos; });
}

}  // namespace f7301
