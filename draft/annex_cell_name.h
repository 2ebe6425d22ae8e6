#pragma once
// The names of the annex's cells in the page's record of its fields.
#include <string_view>

namespace f7301 {

// The annex holds at most this many rows.
inline constexpr long kMostAnnexRows = 500;

// The row of the annex cell named `name`: cells are named "f" + table + row
// + "c" + column, and the form has one annex table, so "f125c2" is row 25,
// column 2. 0 for a name that is not an annex cell's; a row of more than
// four digits is given as 10000, past any annex.
long AnnexRowOf(std::string_view name);

}  // namespace f7301
