#include "draft/draft_document.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <regex>
#include <vector>

namespace f7301 {
namespace {

// Keeps the order of keys, so the page gets its record back as it gave it.
using json = nlohmann::ordered_json;

constexpr const char* kFormat = "Formulario7301 borrador";
constexpr int kMostAnnexRows = 500;

json ParseQuietly(std::string_view text) {
  return json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
}

bool AreRowCounts(const json& rows) {
  if (!rows.is_array() || rows.empty()) return false;
  for (const json& count : rows) {
    if (!count.is_number_integer()) return false;
    const auto n = count.get<std::int64_t>();
    if (n < 0 || n > kMostAnnexRows) return false;
  }
  return true;
}

bool AreFieldValues(const json& fields) {
  if (!fields.is_object()) return false;
  for (const auto& item : fields.items()) {
    if (!item.value().is_string()) return false;
  }
  return true;
}

bool IsPageObject(const json& page) {
  if (!page.is_object()) return false;
  const auto rows = page.find("filas");
  const auto fields = page.find("campos");
  return rows != page.end() && AreRowCounts(*rows) && fields != page.end() &&
         AreFieldValues(*fields);
}

std::string TextAt(const json& fields, const char* name) {
  const auto found = fields.find(name);
  return found != fields.end() ? found->get<std::string>() : std::string();
}

// The annex cells are named "f" + table + row + "c" + column; the table here
// is always 1, so "f125c2" is row 25.
int FilledAnnexRows(const json& fields) {
  static const std::regex kAnnexCell("f1([0-9]+)c[1-3]");
  std::vector<bool> filled(kMostAnnexRows + 1, false);
  std::smatch match;
  for (const auto& item : fields.items()) {
    const std::string& name = item.key();
    if (!std::regex_match(name, match, kAnnexCell)) continue;
    const long row = std::stol(match[1].str().substr(0, 4));
    if (row < 1 || row > kMostAnnexRows) continue;
    if (!item.value().get<std::string>().empty()) filled[static_cast<std::size_t>(row)] = true;
  }
  return static_cast<int>(std::count(filled.begin(), filled.end(), true));
}

}  // namespace

bool IsPageRecord(std::string_view page) { return IsPageObject(ParseQuietly(page)); }

std::string DraftToJson(const Draft& draft) {
  json page = ParseQuietly(draft.page);
  if (!IsPageObject(page)) return {};
  json document = {
      {"formato", kFormat},
      {"version", kDraftVersion},
      {"guardado_ms", draft.savedAtMs},
      {"origen", {{"modificar", draft.reopened}, {"archivo", draft.sourceFile}}},
      {"pagina", std::move(page)},
  };
  // Replaces text that is not valid UTF-8 instead of refusing the draft.
  return document.dump(-1, ' ', false, json::error_handler_t::replace);
}

DraftReading ParseDraft(std::string_view text) {
  DraftReading reading;
  if (text.size() > kMaxDraftFileSize) {
    reading.problem = DraftProblem::kTooLarge;
    return reading;
  }
  const json document = ParseQuietly(text);
  reading.problem = DraftProblem::kDamaged;
  if (!document.is_object() || document.value("formato", "") != kFormat) return reading;
  const auto version = document.find("version");
  if (version == document.end() || !version->is_number_integer()) return reading;
  if (version->get<std::int64_t>() != kDraftVersion) {
    reading.problem = DraftProblem::kOtherVersion;
    return reading;
  }
  const auto saved = document.find("guardado_ms");
  const auto origin = document.find("origen");
  const auto page = document.find("pagina");
  if (saved == document.end() || !saved->is_number_integer() || origin == document.end() ||
      !origin->is_object() || page == document.end() || !IsPageObject(*page)) {
    return reading;
  }
  const auto reopened = origin->find("modificar");
  const auto source = origin->find("archivo");
  if (reopened == origin->end() || !reopened->is_boolean() || source == origin->end() ||
      !source->is_string()) {
    return reading;
  }
  reading.problem = DraftProblem::kNone;
  reading.draft.savedAtMs = saved->get<std::int64_t>();
  reading.draft.reopened = reopened->get<bool>();
  reading.draft.sourceFile = source->get<std::string>();
  reading.draft.page = page->dump(-1, ' ', false, json::error_handler_t::replace);
  return reading;
}

DraftSummary Summarize(const Draft& draft) {
  DraftSummary summary;
  const json page = ParseQuietly(draft.page);
  if (!IsPageObject(page)) return summary;
  const json& fields = page["campos"];
  summary.nit = TextAt(fields, "c2");
  summary.name = TextAt(fields, "c3");
  summary.annexRows = FilledAnnexRows(fields);
  return summary;
}

}  // namespace f7301
