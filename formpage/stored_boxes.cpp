#include "formpage/stored_boxes.h"

#include "formpage/field_model.h"

namespace f7301 {

CStoredBoxes::CStoredBoxes(const CFieldList& store) {
  // Newest first: emplace keeps the first node seen for a number, the one a
  // walk from the front would find.
  for (const CFieldNode* n = store.head(); n; n = n->next()) {
    if (n->attributeName() == kBoxKeyName) m_boxes.emplace(n->attributeValue(), n);
  }
}

const CFieldNode* CStoredBoxes::Find(int box) const {
  const auto found = m_boxes.find(BoxStoreKey(box).second);
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
