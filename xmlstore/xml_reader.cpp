#include "xmlstore/xml_reader.h"

#include <cstdlib>
#include <iostream>

#include "xmlstore/xml_scanner.h"
#include "xmlstore/xml_trace.h"

namespace f7301 {
namespace {

std::ostream* DefaultTrace() {
  return std::getenv("FORMULARIO7301_TRACE") != nullptr ? &std::cout : nullptr;
}

// Never looks past `limit` nor past the terminating NUL, so a length larger
// than the text cannot lead the scan outside the caller's buffer.
std::size_t ScannedLength(const char* text, std::size_t limit) {
  std::size_t n = 0;
  while (n < limit && text[n] != '\0') ++n;
  return n;
}

}  // namespace

CXmlReader::CXmlReader() : m_trace(DefaultTrace()), m_store(std::make_unique<CFieldList>()) {}

CXmlReader::~CXmlReader() = default;

bool CXmlReader::Parse(const char* text, long length) {
  if (text == nullptr || length < 1) return false;
  m_documentText.assign(text, ScannedLength(text, static_cast<std::size_t>(length)));

  const CXmlTrace trace(m_trace);
  trace.Line("----- parse document -----");
  trace.Line(m_documentText);
  trace.Line("");
  trace.Line("----- start parsing -----");
  trace.Line("");

  CXmlScanner top(*m_store, trace);
  top.ParseLevel(m_documentText);
  return true;
}

void CXmlReader::ReplaceStore() {
  m_store->Clear();
  m_store = std::make_unique<CFieldList>();
}

}  // namespace f7301
