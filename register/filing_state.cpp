#include "register/filing_state.h"

namespace f7301 {

std::string_view FilingStateText(FilingState state) {
  switch (state) {
    case FilingState::kVigente:
      return "Vigente";
    case FilingState::kRectificada:
      return "Rectificada";
    case FilingState::kDuplicada:
      return "Duplicada";
    case FilingState::kAlterada:
      return "Alterada o ilegible";
    case FilingState::kSinDeclaracion:
      return "Sin declaración";
    case FilingState::kCopia:
      return "Copia";
  }
  return "";
}

}  // namespace f7301
