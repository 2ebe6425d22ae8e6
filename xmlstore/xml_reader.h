#pragma once
// Reads a declaration XML into a CFieldList: a small scanner made for that one
// document shape, not a general XML parser.
#include <memory>
#include <string>

#include "xmlstore/field_list.h"

namespace f7301 {

class CXmlReader {
 public:
  CXmlReader();
  virtual ~CXmlReader();

  // Scans `length` characters of `text` into the current store. False, with
  // nothing touched, when `text` is null or `length` is below 1; true
  // otherwise, also when the scan stopped at text it could not read.
  bool Parse(const char* text, long length);

  // The store that Parse fills and the page builders read.
  CFieldList& store() { return *m_store; }
  const CFieldList& store() const { return *m_store; }
  // Clears and drops the current store and puts a new, empty one in its place.
  void ReplaceStore();

  const std::string& documentText() const { return m_documentText; }

 private:
  std::string m_documentText;
  std::unique_ptr<CFieldList> m_store;
};

}  // namespace f7301
