#pragma once
// The texts of a register row's columns: the list the window shows and the
// CSV export both take them from here, so a row reads the same in both.
#include <string>

#include "register/register_rows.h"

namespace f7301 {

// The list's columns, in the order shown and exported.
enum class RegisterColumn {
  Nit,
  Nombre,
  Periodo,
  Formulario,
  Rectifica,
  TotalAPagar,
  RenglonesAnexo,
  Generada,
  Estado,
  Avisos,
  Archivo,
};
inline constexpr int kRegisterColumnCount = 11;

// UTF-8. Every row names its state, and every row but a missing month its
// file's path (bytes of the name that are not UTF-8 as U+FFFD). A file that does not read shows
// nothing else; a missing month only the taxpayer and the period. The total is as stored, with a
// decimal point.
std::string RegisterCellText(const RegisterRow& row, RegisterColumn column);

}  // namespace f7301
