#pragma once
// One nesting level of the declaration XML scan. The scanner finds elements by
// their tags, stores one entry per element in a CFieldList and descends into
// elements whose content holds further tags. It builds no tree, validates
// nothing and decodes no entities: it is made for the one document the form
// page writes, and passes over what it does not recognise.
#include <cstddef>
#include <string_view>
#include <utility>

#include "xmlstore/field_list.h"
#include "xmlstore/xml_trace.h"

namespace f7301 {

class CXmlScanner {
 public:
  // Deeper content is passed over: a hostile file must not exhaust the stack,
  // and a declaration is three levels deep.
  static constexpr int kMaxDepth = 64;

  // Takes the next id from the process-wide scanner counter.
  CXmlScanner(CFieldList& store, const CXmlTrace& trace, int depth = 1);

  // Stores the elements of `segment` in document order. Text between elements
  // is passed over; a "<" without a later ">" or an element without its
  // closing tag ends the level quietly.
  void ParseLevel(std::string_view segment);

  // Splits the attribute text of a tag at its first "=": the name before it,
  // the value after it exactly as written (quotes, blanks and any further
  // attributes included). Text without "=" is all name, with an empty value.
  static std::pair<std::string_view, std::string_view> SplitAttribute(std::string_view text);

  // The text of a CDATA section that fills `content` exactly (the opening
  // marker compared without regard to case), or false.
  static bool CDataText(std::string_view content, std::string_view& text);

  unsigned long id() const { return m_id; }

 private:
  static constexpr std::size_t kUnset = std::string_view::npos;

  // Of the element found last, relative to the segment start; ends are one
  // past the last character.
  struct ElementPositions {
    std::size_t tagStart = kUnset;      // its "<"
    std::size_t tagEnd = kUnset;        // its ">"
    std::size_t closingStart = kUnset;  // the "<" of its closing tag
    std::size_t closingEnd = kUnset;    // first position after the closing tag
    std::size_t nameStart = kUnset, nameEnd = kUnset;
    std::size_t attributesStart = kUnset, attributesEnd = kUnset;
    std::size_t contentStart = kUnset, contentEnd = kUnset;
  };

  bool NextElement();
  bool FindClosingTag(std::size_t from);
  std::string_view Range(std::size_t start, std::size_t end) const;
  void OnContainer(std::string_view name, std::string_view attributes);
  void OnElement(std::string_view name, std::string_view value, std::string_view attributes);
  void AddEntry(std::string_view name, std::string_view value, std::string_view attributes);

  CFieldList& m_store;
  const CXmlTrace& m_trace;
  const int m_depth;
  const unsigned long m_id;
  std::string_view m_segment;
  std::size_t m_position = 0;
  ElementPositions m_element;
};

}  // namespace f7301
