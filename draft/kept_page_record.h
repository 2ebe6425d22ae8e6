#pragma once
// The program's own copy of the form on screen, from which its draft is
// written. The page gives its whole record when it is free to answer, and
// reports each value as the user types or chooses it; while the page is held
// by a message or a dialog it answers nothing, but the values it reported
// are here, so the draft still holds them, and a program ended by a signal
// writes them without asking the page.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "draft/draft_schema.h"

namespace f7301 {

class KeptPageRecord {
 public:
  // The page's whole record (JSON, as borradorformulario gives it) replaces
  // the copy; the values reported since the record was asked for are put
  // over it again, as the page may have taken it before they were typed.
  // False, and nothing changed, when the text is no page record.
  bool Take(std::string_view pageJson);

  // The page is asked for its whole record now.
  void Asked();

  // A value the page reported: kept at once, its field the one with the
  // caret. A name that is no field name, or names a cell past the annex's
  // last row, is passed over; an annex cell beyond the rows the copy knows
  // adds them.
  void Report(std::string name, std::string value);

  bool empty() const { return m_record.rows.empty() && m_record.fields.empty(); }
  void Clear();

  // The copy as the page's record (JSON); empty when nothing was kept.
  std::string Json() const;

 private:
  void Put(std::string name, std::string value);

  PageRecord m_record;
  std::unordered_map<std::string, std::size_t> m_index;  // field name -> place
  bool m_asked = false;
  std::vector<std::pair<std::string, std::string>> m_sinceAsked;
};

}  // namespace f7301
