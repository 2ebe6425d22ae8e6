#include "xmlstore/field_list.h"

namespace f7301 {

CFieldNode::CFieldNode(std::string_view name, std::string_view value,
                       std::string_view attributeName, std::string_view attributeValue)
    : m_name(name),
      m_value(value),
      m_attributeName(attributeName),
      m_attributeValue(attributeValue) {}

CFieldList::~CFieldList() { Clear(); }

void CFieldList::Add(std::string_view name, std::string_view value, std::string_view attributeName,
                     std::string_view attributeValue) {
  auto node = std::make_unique<CFieldNode>(name, value, attributeName, attributeValue);
  node->m_next = std::move(m_head);
  m_head = std::move(node);
}

const CFieldNode* CFieldList::Find(std::string_view name) const {
  for (const CFieldNode* n = m_head.get(); n; n = n->next()) {
    if (n->name() == name) return n;
  }
  return nullptr;
}

const CFieldNode* CFieldList::FindByAttribute(std::string_view attributeName,
                                              std::string_view attributeValue) const {
  for (const CFieldNode* n = m_head.get(); n; n = n->next()) {
    if (n->attributeName() == attributeName && n->attributeValue() == attributeValue) return n;
  }
  return nullptr;
}

void CFieldList::Clear() {
  // Unlinks node by node: a recursive destruction of a long list would use
  // one stack frame per node.
  while (m_head) m_head = std::move(m_head->m_next);
}

}  // namespace f7301
