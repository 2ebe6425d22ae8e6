#include "annexcsv/annex_values.h"

#include <algorithm>
#include <array>

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

DecimalMark::Gallons DecimalMark::Read(std::string_view amount) {
  const auto points = std::count(amount.begin(), amount.end(), '.');
  const auto commas = std::count(amount.begin(), amount.end(), ',');
  if (points + commas > 1) return {std::string(amount), kThousands};
  if (points + commas == 0) return {std::string(amount), {}};
  const char mark = points == 1 ? '.' : ',';
  // Refused before it could fix the file's mark: a later "12,50" stays good.
  if (IsAmbiguousMark(amount, amount.find(mark)))
    return {std::string(amount), LooksLikeThousands(amount)};
  if (mark == ',' && !m_commaAllowed) return {std::string(amount), CommaNotAllowed()};
  if (m_fileMark == 0) m_fileMark = mark;
  if (mark != m_fileMark) return {std::string(amount), OtherMark(m_fileMark)};
  std::string text(amount);
  std::replace(text.begin(), text.end(), ',', '.');
  return {text, {}};
}

std::optional<std::string> MatchAnnexProduct(std::string_view name) {
  const std::string wanted = Folded(name);
  for (const char* product : kAnnexProducts) {
    if (Folded(product) == wanted) return std::string(product);
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
