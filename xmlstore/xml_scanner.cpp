#include "xmlstore/xml_scanner.h"

#include <atomic>
#include <cctype>
#include <string>

#include "xmlstore/text_search.h"

namespace f7301 {
namespace {

// Only ever grows; the ids tell the levels apart in the trace.
std::atomic<unsigned long> g_scannerCounter{0};

constexpr std::string_view kCDataOpen = "<![CDATA[";
constexpr std::string_view kCDataClose = "]]>";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[i]);
    const auto b = static_cast<unsigned char>(prefix[i]);
    if (std::toupper(a) != std::toupper(b)) return false;
  }
  return true;
}

}  // namespace

CXmlScanner::CXmlScanner(CFieldList& store, const CXmlTrace& trace, int depth)
    : m_store(store), m_trace(trace), m_depth(depth), m_id(g_scannerCounter++) {}

void CXmlScanner::ParseLevel(std::string_view segment) {
  if (m_trace.enabled()) {
    m_trace.Line("parse node: ", std::to_string(m_id));
    m_trace.Line("");
  }
  m_segment = segment;
  m_position = 0;
  while (m_position < m_segment.size() && NextElement()) {
    const std::string_view name = Range(m_element.nameStart, m_element.nameEnd);
    const std::string_view attributes = Range(m_element.attributesStart, m_element.attributesEnd);
    const std::string_view content = Range(m_element.contentStart, m_element.contentEnd);
    if (content.find('<') == std::string_view::npos) {
      OnElement(name, content, attributes);
      continue;
    }
    OnContainer(name, attributes);
    std::string_view cdata;
    if (CDataText(content, cdata)) {
      // The section is the element's text, whatever it looks like inside.
      OnElement(name, cdata, attributes);
      continue;
    }
    if (m_depth < kMaxDepth) {
      CXmlScanner child(m_store, m_trace, m_depth + 1);
      child.ParseLevel(content);
    }
    // The level goes on after a container even when the container's closing
    // tag follows its last child directly: stopping there would drop every
    // later element without a word.
  }
}

bool CXmlScanner::NextElement() {
  m_element = ElementPositions{};
  const std::size_t open = m_segment.find('<', m_position);
  if (open == std::string_view::npos) return false;
  const std::size_t close = m_segment.find('>', open + 1);
  if (close == std::string_view::npos) return false;
  m_element.tagStart = open;
  m_element.tagEnd = close;

  const bool emptyElementTag = close > open + 1 && m_segment[close - 1] == '/';
  const std::size_t innerStart = open + 1;
  const std::size_t innerEnd = emptyElementTag ? close - 1 : close;
  const std::size_t blank = Range(innerStart, innerEnd).find(' ');
  m_element.nameStart = innerStart;
  m_element.nameEnd = blank == std::string_view::npos ? innerEnd : innerStart + blank;
  // One blank separates the name from the attributes.
  if (m_element.nameEnd + 1 < innerEnd) {
    m_element.attributesStart = m_element.nameEnd + 1;
    m_element.attributesEnd = innerEnd;
  }

  if (emptyElementTag) {
    m_position = close + 1;
    return true;
  }
  if (!FindClosingTag(close + 1)) return false;
  m_element.contentStart = close + 1;
  m_element.contentEnd = m_element.closingStart;
  const std::size_t next = m_segment.find('<', m_element.closingEnd);
  m_position = next == std::string_view::npos ? m_element.closingEnd : next;
  return true;
}

// The first closing tag of the name ends the element, so an element nested in
// one of the same name is not read as such.
bool CXmlScanner::FindClosingTag(std::size_t from) {
  std::string closing = "</";
  closing += Range(m_element.nameStart, m_element.nameEnd);
  closing += '>';
  const std::size_t at = FindText(m_segment, closing, from);
  if (at == std::string_view::npos) return false;
  m_element.closingStart = at;
  m_element.closingEnd = at + closing.size();
  return true;
}

std::string_view CXmlScanner::Range(std::size_t start, std::size_t end) const {
  if (start == kUnset || end == kUnset || start >= end) return {};
  return m_segment.substr(start, end - start);
}

bool CXmlScanner::CDataText(std::string_view content, std::string_view& text) {
  if (content.size() < kCDataOpen.size() + kCDataClose.size()) return false;
  if (!StartsWithIgnoringCase(content, kCDataOpen)) return false;
  if (!content.ends_with(kCDataClose)) return false;
  text = content.substr(kCDataOpen.size(), content.size() - kCDataOpen.size() - kCDataClose.size());
  return true;
}

std::pair<std::string_view, std::string_view> CXmlScanner::SplitAttribute(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {text, {}};
  return {text.substr(0, equals), text.substr(equals + 1)};
}

void CXmlScanner::OnContainer(std::string_view name, std::string_view attributes) {
  if (m_trace.enabled()) {
    m_trace.Line("Found Node: ");
    m_trace.Line("name: ", name);
    if (!attributes.empty()) m_trace.Line("attributes: ", attributes);
  }
  AddEntry(name, {}, attributes);
  m_trace.Line("");
}

void CXmlScanner::OnElement(std::string_view name, std::string_view value,
                            std::string_view attributes) {
  if (m_trace.enabled()) {
    m_trace.Line("Found Element: ");
    m_trace.Line("name: ", name);
    if (!value.empty()) m_trace.Line("value: ", value);
    if (!attributes.empty()) m_trace.Line("attributes: ", attributes);
  }
  AddEntry(name, value, attributes);
  m_trace.Line("");
}

void CXmlScanner::AddEntry(std::string_view name, std::string_view value,
                           std::string_view attributes) {
  const auto [attributeName, attributeValue] = attributes.empty()
                                                   ? std::pair<std::string_view, std::string_view>{}
                                                   : SplitAttribute(attributes);
  m_store.Add(name, value, attributeName, attributeValue);
}

}  // namespace f7301
