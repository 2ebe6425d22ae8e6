#include "formpage/page_builders.h"

#include "formpage/page_writer.h"

namespace f7301 {

bool BuildReadOnlyPage(const CFieldList& store, std::string& page) {
  return WriteStoredPage(PageKind::kReadOnly, store, page);
}

bool BuildEditablePage(const CFieldList& store, std::string& page) {
  return WriteStoredPage(PageKind::kEditable, store, page);
}

}  // namespace f7301
