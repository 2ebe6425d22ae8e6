#include "draft/annex_cell_name.h"

namespace f7301 {

long AnnexRowOf(std::string_view name) {
  constexpr std::size_t kMostRowDigits = 4;
  constexpr long kPastAnyAnnex = 10000;
  if (name.size() < 5 || name.substr(0, 2) != "f1" || name[name.size() - 2] != 'c') return 0;
  const char column = name.back();
  if (column < '1' || column > '3') return 0;
  const std::string_view digits = name.substr(2, name.size() - 4);
  long row = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return 0;
    row = row * 10 + (c - '0');
    if (row >= kPastAnyAnnex) return kPastAnyAnnex;
  }
  return digits.size() > kMostRowDigits && row > 0 ? kPastAnyAnnex : row;
}

}  // namespace f7301
