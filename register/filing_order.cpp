#include "register/filing.h"

namespace f7301 {

int GenerationDateKey(const std::string& date) {
  if (date.size() != 10 || date[2] != '/' || date[5] != '/') return 0;
  int key = 0;
  for (std::size_t i : {6, 7, 8, 9, 3, 4, 0, 1}) {
    if (date[i] < '0' || date[i] > '9') return 0;
    key = key * 10 + (date[i] - '0');
  }
  return key;
}

bool GeneratedBefore(const Filing* a, const Filing* b) {
  const int dayA = GenerationDateKey(a->summary->generated);
  const int dayB = GenerationDateKey(b->summary->generated);
  return std::tie(dayA, a->found->mtimeNs, a->found->file) <
         std::tie(dayB, b->found->mtimeNs, b->found->file);
}

}  // namespace f7301
