#pragma once
// For the tests of the pages rebuilt from a stored declaration: stores read
// from sample declarations, and small text searches over a page.
#include <memory>
#include <string>
#include <vector>

#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace f7301::testing {

// A store read from the declaration XML of `d`, as reopening a file does.
inline std::unique_ptr<CXmlReader> ReadDeclaration(const SampleDeclaration& d) {
  auto reader = std::make_unique<CXmlReader>();
  const std::string xml = DeclarationXml(d);
  reader->Parse(xml.c_str(), static_cast<long>(xml.size()));
  return reader;
}

// Every node of `from` whose box is not `box` is copied into `to`, so `to`
// lacks that one box.
inline void CopyWithoutBox(const CFieldList& from, int box, CFieldList& to) {
  const std::string key = "\"" + std::to_string(box) + "\"";
  // The list is newest first; copying in reverse keeps the look-ups alike.
  std::vector<const CFieldNode*> nodes;
  for (const CFieldNode* n = from.head(); n; n = n->next()) nodes.push_back(n);
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
    if ((*it)->attributeValue() == key) continue;
    to.Add((*it)->name(), (*it)->value(), (*it)->attributeName(), (*it)->attributeValue());
  }
}

inline void CopyWithoutElement(const CFieldList& from, const std::string& name, CFieldList& to) {
  std::vector<const CFieldNode*> nodes;
  for (const CFieldNode* n = from.head(); n; n = n->next()) nodes.push_back(n);
  for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
    if ((*it)->name() == name) continue;
    to.Add((*it)->name(), (*it)->value(), (*it)->attributeName(), (*it)->attributeValue());
  }
}

inline std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

inline bool Has(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

// The text between the first `start` and the next `end` after it.
inline std::string Between(const std::string& text, const std::string& start,
                           const std::string& end) {
  const auto from = text.find(start);
  if (from == std::string::npos) return "";
  const auto to = text.find(end, from + start.size());
  return text.substr(from + start.size(), to == std::string::npos ? to : to - from - start.size());
}

}  // namespace f7301::testing
