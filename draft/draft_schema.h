#pragma once
// The one check every draft file and every page record goes through before
// anything else looks at it: known keys only, each of its type, texts of
// bounded length, nothing nested beyond the layout's three levels. The text
// is read once, front to back, as events (no tree is built, nothing recurses),
// and the first thing out of place stops the reading.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draft/draft_document.h"

namespace f7301 {

// The page's record of its fields, as it gave it.
struct PageRecord {
  std::vector<std::int64_t> rows;                           // "filas"
  std::vector<std::pair<std::string, std::string>> fields;  // "campos", in the page's order
  std::optional<std::string> focus;                         // "foco"
};

struct CheckedDraft {
  DraftProblem problem = DraftProblem::kDamaged;
  Draft draft;  // all but `page`, which is `record`
  PageRecord record;
};

std::optional<PageRecord> CheckPageRecord(std::string_view text);
// A field's name as the page's form names them: letters, digits and "_",
// at most kMostDraftNameBytes.
bool IsFieldName(std::string_view name);
// The size limit is the caller's: this reads whatever it is given.
CheckedDraft CheckDraftDocument(std::string_view text);

// The record as JSON text, keys in the order above.
std::string PageRecordToJson(const PageRecord& record);
// `text` as a JSON string; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);

}  // namespace f7301
