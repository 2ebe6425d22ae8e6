#pragma once
// The XML reader's diagnostic trace: one line per step, flushed at once so a
// crash leaves everything before it visible. It holds taxpayer data, so it is
// only written where the owner asks for it.
#include <ostream>
#include <string_view>

namespace f7301 {

class CXmlTrace {
 public:
  explicit CXmlTrace(std::ostream* out) : m_out(out) {}

  bool enabled() const { return m_out != nullptr; }
  void Line(std::string_view label, std::string_view text = {}) const {
    if (m_out) *m_out << label << text << std::endl;
  }

 private:
  std::ostream* m_out;
};

}  // namespace f7301
