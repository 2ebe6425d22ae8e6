#pragma once
// One readable declaration while the register's rows are being made: what it
// rectifies, whether it is rectified, its copies and its avisos.
#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "register/register_rows.h"

namespace f7301 {

struct Filing {
  const FoundDeclaration* found = nullptr;
  const DeclarationSummary* summary = nullptr;
  std::vector<Filing*> targets;       // the declarations it rectifies
  const Filing* rectified = nullptr;  // one of them, to place it after its original
  bool isRectified = false;
  std::size_t depth = 0;              // rectifications between it and its original
  std::vector<const Filing*> copies;  // byte-identical files, oldest first
  std::vector<std::string> avisos;    // in the order found
};

// "dd/mm/aaaa" as aaaammdd; 0 when the date is not of that shape.
int GenerationDateKey(const std::string& date);

// The order in which declarations were made: the day the page generated
// them, then the file's modification time, then the path.
bool GeneratedBefore(const Filing* a, const Filing* b);

// Months since year 0: consecutive months have consecutive keys.
inline int PeriodKey(int year, int month) { return year * 12 + (month - 1); }
inline int PeriodKey(const DeclarationSummary& s) { return PeriodKey(s.year, s.month); }
inline std::string PeriodTextOfKey(int key) { return PeriodText(key / 12, key % 12 + 1); }

}  // namespace f7301
