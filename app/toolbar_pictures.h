#pragma once
// The toolbar's button pictures: one strip of 16 by 15 pictures, in the order
// of the buttons.
#include <QIcon>
#include <QSize>
#include <array>

namespace f7301 {

enum class ToolbarPicture { Nuevo, Consultar, Modificar, Imprimir, AcercaDe, Salir };

inline constexpr int kToolbarPictureCount = 6;
inline constexpr QSize kToolbarPictureSize{16, 15};

std::array<QIcon, kToolbarPictureCount> ToolbarPictures();

}  // namespace f7301
