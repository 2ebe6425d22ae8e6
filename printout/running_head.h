#pragma once
// The running head and foot stamped on every page of the printed form, so
// that a loose page still says which declaration it belongs to and where it
// goes. Texts are UTF-8.
#include <string>
#include <string_view>

namespace f7301 {

class CFieldList;

// What the head names: the taxpayer's NIT, the month declared (its month
// and year, as the period boxes hold them) and the form number.
struct PrintedIdentity {
  std::string nit;
  std::string month;
  std::string year;
  std::string number;
};

// The identity of a declaration read into `store` (Windows-1252 texts),
// converted to UTF-8; the parts it lacks are empty.
PrintedIdentity IdentityOfDeclaration(const CFieldList& store);

// "Formulario RTQ-7301 · NIT <nit> · Periodo <MM/AAAA> · No. <number>".
// Each part is shown on one line of limited length: control characters are
// dropped and a part longer than kHeadPartLimit characters is cut.
std::string RunningHead(const PrintedIdentity& identity);

// "Página n de m".
std::string PageFoot(int page, int pages);

inline constexpr std::size_t kHeadPartLimit = 40;

}  // namespace f7301
