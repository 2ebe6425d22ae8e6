#include "rectification/rectified_number.h"

#include "declaration/cp1252.h"

namespace f7301 {

std::string StoredFormNumber(const CFieldList& store) {
  const CFieldNode* form = store.Find("FORMULARIO");
  if (!form) return "";
  const std::string& quoted = form->attributeValue();
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return "";
  return Cp1252ToUtf8(quoted.substr(1, quoted.size() - 2));
}

std::string RectifiedNumber(const CFieldList& store) {
  return kRectifiedFormCode + StoredFormNumber(store);
}

}  // namespace f7301
