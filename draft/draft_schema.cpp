#include "draft/draft_schema.h"

#include <nlohmann/json.hpp>
#include <unordered_set>

#include "draft/annex_cell_name.h"

namespace f7301 {
namespace {

using json = nlohmann::json;

constexpr const char* kFormat = "Formulario7301 borrador";
// One count for the form's own rows, one per annex table.
constexpr std::size_t kMostRowCounts = 16;

// Where the reading stands; each place is one level of the layout.
enum class Place { kStart, kDocument, kOrigin, kPage, kRows, kFields, kEnd };

// The layout, as nlohmann's SAX events: any event that does not fit it
// returns false, which ends the parse at once.
class SchemaReader {
 public:
  using number_integer_t = json::number_integer_t;
  using number_unsigned_t = json::number_unsigned_t;
  using number_float_t = json::number_float_t;
  using string_t = json::string_t;
  using binary_t = json::binary_t;

  explicit SchemaReader(bool wholeDocument) : m_wholeDocument(wholeDocument) {}

  bool null() { return false; }
  bool number_float(number_float_t, const string_t&) { return false; }
  bool binary(binary_t&) { return false; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
    return false;
  }

  bool boolean(bool value) {
    if (m_place != Place::kOrigin || !Take("modificar")) return false;
    m_result.draft.reopened = value;
    return true;
  }

  bool number_unsigned(number_unsigned_t value) {
    if (value > static_cast<number_unsigned_t>(INT64_MAX)) return false;
    return number_integer(static_cast<number_integer_t>(value));
  }

  bool number_integer(number_integer_t value) {
    if (m_place == Place::kRows) {
      if (value < 0 || value > kMostAnnexRows || m_result.record.rows.size() >= kMostRowCounts) {
        return false;
      }
      m_result.record.rows.push_back(value);
      return true;
    }
    if (m_place != Place::kDocument) return false;
    if (Take("guardado_ms")) {
      m_result.draft.savedAtMs = value;
      return true;
    }
    if (!Take("version")) return false;
    // A later program's draft may be laid out otherwise: nothing more of it
    // is read.
    if (value != kDraftVersion) m_otherVersion = m_formatSeen;
    return value == kDraftVersion;
  }

  bool string(string_t& value) {
    switch (m_place) {
      case Place::kDocument:
        if (!Take("formato") || value != kFormat) return false;
        m_formatSeen = true;
        return true;
      case Place::kOrigin:
        if (!Take("archivo") || value.size() > kMostDraftPathBytes) return false;
        m_result.draft.sourceFile = std::move(value);
        return true;
      case Place::kPage:
        if (!Take("foco") || (!value.empty() && !IsFieldName(value))) return false;
        m_result.record.focus = std::move(value);
        return true;
      case Place::kFields:
        if (value.size() > kMostDraftValueBytes) return false;
        m_result.record.fields.emplace_back(std::move(m_key), std::move(value));
        return true;
      default:
        return false;
    }
  }

  bool start_object(std::size_t) {
    if (m_place == Place::kStart) return Enter(m_wholeDocument ? Place::kDocument : Place::kPage);
    if (m_place == Place::kDocument && Take("origen")) return Enter(Place::kOrigin);
    if (m_place == Place::kDocument && Take("pagina")) return Enter(Place::kPage);
    if (m_place == Place::kPage && Take("campos")) return Enter(Place::kFields);
    return false;
  }

  bool start_array(std::size_t) {
    return m_place == Place::kPage && Take("filas") && Enter(Place::kRows);
  }

  bool end_array() {
    if (m_result.record.rows.empty()) return false;
    return Leave(Place::kPage);
  }

  bool end_object() {
    switch (m_place) {
      case Place::kFields:
        return Leave(Place::kPage);
      case Place::kOrigin:
        return Has("modificar") && Has("archivo") && Leave(Place::kDocument);
      case Place::kPage:
        if (!Has("filas") || !Has("campos")) return false;
        return Leave(m_wholeDocument ? Place::kDocument : Place::kEnd);
      case Place::kDocument:
        return Has("formato") && Has("version") && Has("guardado_ms") && Has("origen") &&
               Has("pagina") && Leave(Place::kEnd);
      default:
        return false;
    }
  }

  bool key(string_t& name) {
    if (m_place == Place::kFields) {
      if (!IsFieldName(name) || !m_fieldNames.insert(name).second) return false;
      if (AnnexRowOf(name) > kMostAnnexRows) return false;  // no form has such a cell
    } else if (m_seen.count(Qualified(name)) != 0) {
      return false;  // a key given twice
    }
    m_key = std::move(name);
    return true;
  }

  bool complete() const { return m_place == Place::kEnd; }
  bool otherVersion() const { return m_otherVersion; }
  CheckedDraft& result() { return m_result; }

 private:
  // The keys of the three objects other than "campos", told apart by place.
  std::string Qualified(const std::string& name) const {
    return std::to_string(static_cast<int>(m_place)) + ":" + name;
  }

  // The value now read is the one of key `name`: true if that is the key
  // just given, which is then known to be present.
  bool Take(const char* name) {
    if (m_key != name) return false;
    m_seen.insert(Qualified(m_key));
    return true;
  }
  bool Has(const char* name) const { return m_seen.count(Qualified(name)) != 0; }

  bool Enter(Place place) {
    m_places.push_back(m_place);
    m_place = place;
    m_key.clear();
    return true;
  }
  bool Leave(Place expected) {
    if (m_places.empty() ||
        m_places.back() != (expected == Place::kEnd ? Place::kStart : expected)) {
      return false;
    }
    m_place = expected;
    m_places.pop_back();
    return true;
  }

  bool m_wholeDocument;
  Place m_place = Place::kStart;
  std::vector<Place> m_places;  // never more than the layout's three levels
  std::string m_key;
  std::unordered_set<std::string> m_seen;
  std::unordered_set<std::string> m_fieldNames;
  bool m_formatSeen = false;
  bool m_otherVersion = false;
  CheckedDraft m_result;
};

bool Read(std::string_view text, SchemaReader& reader) {
  const bool parsed = json::sax_parse(text.begin(), text.end(), &reader, json::input_format_t::json,
                                      /*strict=*/true);
  return parsed && reader.complete();
}

}  // namespace

bool IsFieldName(std::string_view name) {
  if (name.empty() || name.size() > kMostDraftNameBytes) return false;
  for (const char c : name) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && !(c >= '0' && c <= '9') && c != '_') return false;
  }
  return true;
}

std::optional<PageRecord> CheckPageRecord(std::string_view text) {
  SchemaReader reader(/*wholeDocument=*/false);
  if (!Read(text, reader)) return std::nullopt;
  return std::move(reader.result().record);
}

CheckedDraft CheckDraftDocument(std::string_view text) {
  SchemaReader reader(/*wholeDocument=*/true);
  if (!Read(text, reader)) {
    return {reader.otherVersion() ? DraftProblem::kOtherVersion : DraftProblem::kDamaged, {}, {}};
  }
  CheckedDraft checked = std::move(reader.result());
  checked.problem = DraftProblem::kNone;
  return checked;
}

std::string JsonString(const std::string& text) {
  return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string PageRecordToJson(const PageRecord& record) {
  std::string out = "{\"filas\":[";
  for (std::size_t i = 0; i < record.rows.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(record.rows[i]);
  }
  out += "],\"campos\":{";
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    if (i > 0) out += ',';
    out += JsonString(record.fields[i].first);
    out += ':';
    out += JsonString(record.fields[i].second);
  }
  out += '}';
  if (record.focus) out += ",\"foco\":" + JsonString(*record.focus);
  return out + "}";
}

}  // namespace f7301
