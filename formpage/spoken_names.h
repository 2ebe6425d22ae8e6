#pragma once
// What each field of the form is called when a screen reader reads it: the
// accessible names the page writer gives the inputs, the product lists and
// the read-only values. A sighted user matches a box with the row and column
// headings around it; these names say the same in one phrase, in the order a
// person would read the form aloud ("Gasolina superior, Saldo Inicial,
// casilla 6"). Texts are Windows-1252, like the page.
#include <string>
#include <string_view>

namespace f7301 {

// The name of the page field `field` ("c6", "f112c1", "mes_ini", "c1620",
// "renglones1" ...); empty for a field that is not seen (hidden inputs) or
// that names itself (the buttons show their caption).
std::string SpokenName(std::string_view field);

// The name of annex cells of column `column` (1 to 3) with kAnnexRowMark
// where the row number goes. The page carries these once, so that the page
// scripts name the rows they add by the same rule as the rows written here.
std::string AnnexSpokenTemplate(int column);
inline constexpr std::string_view kAnnexRowMark = "#";

// The attribute of the annex table that holds the template of `column`:
// "data-nombre-c1" to "data-nombre-c3".
std::string AnnexTemplateAttribute(int column);

// A read-only value with its name: "<name>: <value>", or the name alone when
// the page shows the box empty.
std::string SpokenValue(std::string_view name, std::string_view value);

}  // namespace f7301
