#pragma once
// One kept draft of the form: what the page held the last time it changed,
// when that was, and where the form came from. Stored as a small JSON
// document; the page's own record travels inside it untouched, and the page
// is the one that reads it back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace f7301 {

// The largest draft file read back. A full 500-row annex makes some 60 KB;
// anything far beyond that is not a draft this program wrote.
inline constexpr std::uintmax_t kMaxDraftFileSize = 4u * 1024u * 1024u;

// The only layout of draft file this program reads and writes.
inline constexpr int kDraftVersion = 1;

// The longest texts a draft holds: a field's name and value, and the path of
// the declaration a corrected form came from. The form's own boxes are far
// shorter, but a box without a limit of its own holds whatever is pasted in
// it: each value is kept up to the size of a whole draft.
inline constexpr std::size_t kMostDraftNameBytes = 64;
inline constexpr std::size_t kMostDraftValueBytes = kMaxDraftFileSize;
inline constexpr std::size_t kMostDraftPathBytes = 4096;

struct Draft {
  std::int64_t savedAtMs = 0;  // when the form last changed, ms since 1970 (UTC)
  bool reopened = false;       // the form came from a declaration file (Modificar)
  std::string sourceFile;      // that file (UTF-8); empty for a blank form
  std::string page;            // the page's record of its fields (JSON text)
};

// Whose form a draft holds, as the page's record tells it.
struct DraftSummary {
  std::string nit;
  std::string name;
  int annexRows = 0;      // annex rows holding anything
  bool anyValue = false;  // some field holds anything
};

enum class DraftProblem {
  kNone,
  kDamaged,       // not a draft document, or its page record is not the page's
  kTooLarge,      // larger than kMaxDraftFileSize
  kOtherVersion,  // written by a program with another draft layout
};

struct DraftReading {
  DraftProblem problem = DraftProblem::kNone;
  Draft draft;
};

// The page's record must be a JSON object {"filas": [..], "campos": {name: text}}.
bool IsPageRecord(std::string_view page);

// The file's text; empty when `draft.page` is not a page record.
std::string DraftToJson(const Draft& draft);

DraftReading ParseDraft(std::string_view text);

DraftSummary Summarize(const Draft& draft);

}  // namespace f7301
