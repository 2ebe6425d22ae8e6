#pragma once
// The store of a read declaration: one node per element, newest first, with
// exact look-ups. The program reads a declaration XML into it and builds the
// form pages from it.
#include <memory>
#include <string>
#include <string_view>

namespace f7301 {

class CFieldNode {
 public:
  CFieldNode(std::string_view name, std::string_view value, std::string_view attributeName,
             std::string_view attributeValue);

  const std::string& name() const { return m_name; }
  const std::string& value() const { return m_value; }
  const std::string& attributeName() const { return m_attributeName; }
  // As written in the tag, double quotes included ("\"118\"").
  const std::string& attributeValue() const { return m_attributeValue; }
  const CFieldNode* next() const { return m_next.get(); }

 private:
  friend class CFieldList;
  // Texts are held whole: a long taxpayer name read back is the name that
  // was written, not a cut copy.
  std::string m_name;
  std::string m_value;
  std::string m_attributeName;
  std::string m_attributeValue;
  std::unique_ptr<CFieldNode> m_next;
};

class CFieldList {
 public:
  CFieldList() = default;
  ~CFieldList();
  CFieldList(const CFieldList&) = delete;
  CFieldList& operator=(const CFieldList&) = delete;

  // Puts a node holding copies of the four texts in front of the list.
  void Add(std::string_view name, std::string_view value, std::string_view attributeName,
           std::string_view attributeValue);
  // The node read last whose name equals `name` exactly, or null.
  const CFieldNode* Find(std::string_view name) const;
  // The node read last whose attribute name and value both equal the given
  // texts exactly (the value with its quotes, as stored), or null.
  const CFieldNode* FindByAttribute(std::string_view attributeName,
                                    std::string_view attributeValue) const;
  void Clear();

  const CFieldNode* head() const { return m_head.get(); }
  bool empty() const { return !m_head; }

 private:
  std::unique_ptr<CFieldNode> m_head;
};

}  // namespace f7301
