#pragma once
// Whether a read declaration is one of form RTQ-7301: Consultar, Modificar
// and the register of declarations take a file as a declaration on this one
// check.
#include "xmlstore/field_list.h"

namespace f7301 {

enum class FormCheck {
  kForm7301,    // CODIGO_FORMULARIO followed by NUMERO_VERSION reads "7301"
  kNoFormCode,  // no CODIGO_FORMULARIO
  kNoVersion,   // no NUMERO_VERSION
  kOtherForm,   // both there, naming another form
};

FormCheck CheckForm7301(const CFieldList& store);

}  // namespace f7301
