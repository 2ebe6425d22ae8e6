#pragma once
// The toolbar's button pictures: a strip of 16 by 15 pictures, drawn once per screen scale
// (toolbar.png, toolbar@2x.png).
#include <QIcon>
#include <QSize>
#include <array>

namespace f7301 {

// In the order of the strip, which is not the order of the buttons.
enum class ToolbarPicture {
  Nuevo,
  Consultar,
  Modificar,
  Imprimir,
  AcercaDe,
  Salir,
  Declaraciones,
  ExportarPdf,
  Revision,
};

inline constexpr int kToolbarPictureCount = 9;
inline constexpr QSize kToolbarPictureSize{16, 15};
inline constexpr int kToolbarPictureScales[] = {1, 2};

std::array<QIcon, kToolbarPictureCount> ToolbarPictures();

// The sizes the program icon is drawn at (formulario7301-SIZE.png): those a
// desktop's icon theme asks for, so none is scaled from another.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

}  // namespace f7301
