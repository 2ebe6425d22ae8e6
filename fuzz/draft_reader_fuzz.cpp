// Reads arbitrary bytes as a kept draft, as the start-up does with every
// draft left in the folder, and as a page record, as writing a draft does.
// Neither may crash, hang or read outside its input; what is accepted is
// written back and read again to the very same draft.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "draft/draft_document.h"
#include "draft/draft_schema.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const f7301::DraftReading reading = f7301::ParseDraft(text);
  if (reading.problem == f7301::DraftProblem::kNone) {
    if (!f7301::IsPageRecord(reading.draft.page)) std::abort();
    const f7301::DraftReading again = f7301::ParseDraft(f7301::DraftToJson(reading.draft));
    if (again.problem != f7301::DraftProblem::kNone || again.draft.page != reading.draft.page ||
        again.draft.savedAtMs != reading.draft.savedAtMs ||
        again.draft.reopened != reading.draft.reopened ||
        again.draft.sourceFile != reading.draft.sourceFile) {
      std::abort();
    }
    const f7301::DraftSummary summary = f7301::Summarize(reading.draft);
    if (summary.annexRows < 0 || summary.annexRows > 500) std::abort();
  }

  const auto record = f7301::CheckPageRecord(text);
  if (record) {
    const std::string written = f7301::PageRecordToJson(*record);
    const auto reread = f7301::CheckPageRecord(written);
    if (!reread || f7301::PageRecordToJson(*reread) != written) std::abort();
  }
  return 0;
}
