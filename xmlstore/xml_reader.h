#pragma once
// Reads a declaration XML into a CFieldList: a small scanner made for that one
// document shape, not a general XML parser.
#include <iosfwd>
#include <memory>
#include <string>

#include "xmlstore/field_list.h"

namespace f7301 {

class CXmlReader {
 public:
  // The trace goes to standard output when FORMULARIO7301_TRACE is set in the
  // environment, and nowhere otherwise: it holds taxpayer data.
  CXmlReader();
  virtual ~CXmlReader();
  CXmlReader(const CXmlReader&) = delete;
  CXmlReader& operator=(const CXmlReader&) = delete;

  // Scans `length` characters of `text` into the current store. False, with
  // nothing touched, when `text` is null or `length` is below 1; true
  // otherwise, also when the scan stopped at text it could not read.
  bool Parse(const char* text, long length);

  // The store that Parse fills and the page builders read.
  CFieldList& store() { return *m_store; }
  const CFieldList& store() const { return *m_store; }
  // Clears and drops the current store and puts a new, empty one in its place.
  void ReplaceStore();

  // The text most recently scanned: the given characters up to the first NUL.
  const std::string& documentText() const { return m_documentText; }

  // Where the diagnostic trace goes; null writes none.
  void SetTrace(std::ostream* trace) { m_trace = trace; }

 private:
  std::string m_documentText;
  std::ostream* m_trace;
  std::unique_ptr<CFieldList> m_store;
};

}  // namespace f7301
