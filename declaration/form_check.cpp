#include "declaration/form_check.h"

namespace f7301 {

FormCheck CheckForm7301(const CFieldList& store) {
  const CFieldNode* code = store.Find("CODIGO_FORMULARIO");
  if (code == nullptr) return FormCheck::kNoFormCode;
  const CFieldNode* version = store.Find("NUMERO_VERSION");
  if (version == nullptr) return FormCheck::kNoVersion;
  return code->value() + version->value() == "7301" ? FormCheck::kForm7301 : FormCheck::kOtherForm;
}

}  // namespace f7301
