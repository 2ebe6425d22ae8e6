#include "formpage/stored_boxes.h"

#include <optional>
#include <string_view>

#include "formpage/field_model.h"

namespace f7301 {

namespace {

// The number of a key written as the program writes it ("\"118\"", the
// digits of std::to_string): only such a key is found by its number, so
// "\"0118\"" or "\"+118\"" name no box, as before the index.
std::optional<int> NumberOfKey(std::string_view quoted) {
  if (quoted.size() < 3 || quoted.front() != '"' || quoted.back() != '"') return std::nullopt;
  std::string_view digits = quoted.substr(1, quoted.size() - 2);
  const bool negative = digits.starts_with('-');
  if (negative) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits.front() == '0')) {
    return std::nullopt;
  }
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (negative && number == 0) return std::nullopt;  // "-0" is not how 0 is written
  return negative ? -number : number;
}

}  // namespace

CStoredBoxes::CStoredBoxes(const CFieldList& store) {
  // Newest first: emplace keeps the first node seen for a number, the one a
  // walk from the front would find.
  for (const CFieldNode* n = store.head(); n; n = n->next()) {
    if (n->attributeName() != kBoxKeyName) continue;
    if (const std::optional<int> number = NumberOfKey(n->attributeValue())) {
      m_boxes.emplace(*number, n);
    }
  }
}

const CFieldNode* CStoredBoxes::Find(int box) const {
  const auto found = m_boxes.find(box);
  return found == m_boxes.end() ? nullptr : found->second;
}

int CStoredBoxes::AnnexRows() const {
  int rows = 0;
  for (int id = kFirstAnnexBox; id < kAnnexTotalBox; id += kAnnexColumnCount, ++rows) {
    if (!Find(id)) break;
  }
  return rows;
}

}  // namespace f7301
