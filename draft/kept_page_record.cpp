#include "draft/kept_page_record.h"

#include "draft/annex_cell_name.h"

namespace f7301 {

bool KeptPageRecord::Take(std::string_view pageJson) {
  std::optional<PageRecord> record = CheckPageRecord(pageJson);
  if (!record) return false;
  m_record = std::move(*record);
  m_index.clear();
  for (std::size_t i = 0; i < m_record.fields.size(); ++i) m_index[m_record.fields[i].first] = i;
  auto reported = std::exchange(m_sinceAsked, {});
  m_asked = false;
  for (auto& [name, value] : reported) Put(std::move(name), std::move(value));
  return true;
}

void KeptPageRecord::Asked() {
  m_asked = true;
  m_sinceAsked.clear();
}

void KeptPageRecord::Report(std::string name, std::string value) {
  // No form has a cell past the annex's last row: the draft check refuses it.
  if (!IsFieldName(name) || AnnexRowOf(name) > kMostAnnexRows) return;
  if (m_asked) m_sinceAsked.emplace_back(name, value);
  Put(std::move(name), std::move(value));
}

void KeptPageRecord::Put(std::string name, std::string value) {
  const long row = AnnexRowOf(name);
  if (m_record.rows.size() < 2) m_record.rows.resize(2, 0);
  if (row > m_record.rows[1]) m_record.rows[1] = row;
  m_record.focus = name;
  const auto [place, added] = m_index.try_emplace(name, m_record.fields.size());
  if (added) {
    m_record.fields.emplace_back(std::move(name), std::move(value));
  } else {
    m_record.fields[place->second].second = std::move(value);
  }
}

void KeptPageRecord::Clear() { *this = KeptPageRecord(); }

std::string KeptPageRecord::Json() const {
  return empty() ? std::string() : PageRecordToJson(m_record);
}

}  // namespace f7301
