#pragma once
// "Rectificar": a declaration that corrects an earlier one names it in box
// 1619 by the form code followed by the earlier one's 8-digit form number
// (the number that also ends its file name).
#include <string>

#include "xmlstore/field_list.h"

namespace f7301 {

inline constexpr const char* kRectifiedFormCode = "7301";

// The form number a read declaration holds (NUMERO of its FORMULARIO
// element), without its quotes; empty when it has none.
std::string StoredFormNumber(const CFieldList& store);

// What box 1619 of a declaration rectifying the one read holds (UTF-8). It is
// typed into the box as stored: the box's own checks judge it.
std::string RectifiedNumber(const CFieldList& store);

}  // namespace f7301
