#pragma once
// The two pages rebuilt from a stored declaration. Both return the whole page
// as one Windows-1252 text, or false when a value the page needs is missing
// from the store (the text is then empty). Stored values are HTML-escaped
// where they enter the page, so each shows exactly as it was typed.
#include <string>

#include "xmlstore/field_list.h"

namespace f7301 {

// Consultar: every stored value as bold text in the layout of the form; no
// inputs, no scripts, no buttons.
bool BuildReadOnlyPage(const CFieldList& store, std::string& page);

// Modificar: the form with every stored value in its field and one annex row
// per stored annex row; it carries the page scripts, so it can be validated
// and generated again.
bool BuildEditablePage(const CFieldList& store, std::string& page);

}  // namespace f7301
