#pragma once
// The boxes of a read declaration by number, and how many annex rows it
// holds: the pages and the register of declarations read a store the same way.
#include <string_view>
#include <unordered_map>

#include "xmlstore/field_list.h"

namespace f7301 {

class CStoredBoxes {
 public:
  CStoredBoxes() = default;
  // One walk of the store: a page looks up some 1,600 boxes, too many for a
  // walk of the list each. The store must outlive this index.
  explicit CStoredBoxes(const CFieldList& store);

  // The node read last for box `box`, or null.
  const CFieldNode* Find(int box) const;

  // Stored annex rows run from id 118 in steps of three up to the first id
  // the store lacks; ids of rows left empty when the declaration was
  // generated are consumed, so a gap ends the rows.
  int AnnexRows() const;

 private:
  // By the box's number, read once from the quoted key the store keeps:
  // a page looks boxes up by number, and a key made for each look-up was
  // most of the cost of a look-up.
  std::unordered_map<int, const CFieldNode*> m_boxes;
};

}  // namespace f7301
