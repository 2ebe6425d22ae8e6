#include "draft/draft_document.h"

#include <algorithm>
#include <vector>

#include "draft/annex_cell_name.h"
#include "draft/draft_schema.h"

namespace f7301 {
namespace {

constexpr const char* kFormat = "Formulario7301 borrador";

std::string TextAt(const PageRecord& record, std::string_view name) {
  for (const auto& [field, value] : record.fields) {
    if (field == name) return value;
  }
  return {};
}

int FilledAnnexRows(const PageRecord& record) {
  std::vector<bool> filled(kMostAnnexRows + 1, false);
  for (const auto& [name, value] : record.fields) {
    const long row = AnnexRowOf(name);
    if (row >= 1 && row <= kMostAnnexRows && !value.empty()) {
      filled[static_cast<std::size_t>(row)] = true;
    }
  }
  return static_cast<int>(std::count(filled.begin(), filled.end(), true));
}

}  // namespace

bool IsPageRecord(std::string_view page) { return CheckPageRecord(page).has_value(); }

std::string DraftToJson(const Draft& draft) {
  const auto record = CheckPageRecord(draft.page);
  if (!record) return {};
  // Text that is not valid UTF-8 is replaced instead of refusing the draft.
  return std::string("{\"formato\":") + JsonString(kFormat) +
         ",\"version\":" + std::to_string(kDraftVersion) +
         ",\"guardado_ms\":" + std::to_string(draft.savedAtMs) +
         ",\"origen\":{\"modificar\":" + (draft.reopened ? "true" : "false") +
         ",\"archivo\":" + JsonString(draft.sourceFile) +
         "},\"pagina\":" + PageRecordToJson(*record) + "}";
}

DraftReading ParseDraft(std::string_view text) {
  DraftReading reading;
  if (text.size() > kMaxDraftFileSize) {
    reading.problem = DraftProblem::kTooLarge;
    return reading;
  }
  CheckedDraft checked = CheckDraftDocument(text);
  reading.problem = checked.problem;
  if (checked.problem != DraftProblem::kNone) return reading;
  reading.draft = std::move(checked.draft);
  reading.draft.page = PageRecordToJson(checked.record);
  return reading;
}

DraftSummary Summarize(const Draft& draft) {
  DraftSummary summary;
  const auto record = CheckPageRecord(draft.page);
  if (!record) return summary;
  summary.nit = TextAt(*record, "c2");
  summary.name = TextAt(*record, "c3");
  summary.annexRows = FilledAnnexRows(*record);
  summary.anyValue = std::any_of(record->fields.begin(), record->fields.end(),
                                 [](const auto& field) { return !field.second.empty(); });
  return summary;
}

}  // namespace f7301
