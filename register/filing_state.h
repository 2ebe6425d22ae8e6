#pragma once
// What the register says of each declaration of a taxpayer's month.
#include <string_view>

namespace f7301 {

enum class FilingState {
  kVigente,         // the declaration in force for its NIT and period
  kRectificada,     // a declaration of the same NIT rectifies it (box 1619)
  kDuplicada,       // another filing of the same NIT and period, that nothing rectifies
  kAlterada,        // a file so named that does not read as a declaration
  kSinDeclaracion,  // a month with no declaration between the taxpayer's first and latest
  kCopia,           // the same bytes as a declaration listed before it: not another filing
};

// The text the register shows and exports.
std::string_view FilingStateText(FilingState state);

}  // namespace f7301
