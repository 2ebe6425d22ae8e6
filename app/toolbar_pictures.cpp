#include "app/toolbar_pictures.h"

#include <QPixmap>

namespace f7301 {

std::array<QIcon, kToolbarPictureCount> ToolbarPictures() {
  const QPixmap strip(QStringLiteral(":/icons/toolbar.png"));
  std::array<QIcon, kToolbarPictureCount> icons;
  const int w = kToolbarPictureSize.width();
  for (int i = 0; i < kToolbarPictureCount; ++i) {
    icons[i] = QIcon(strip.copy(i * w, 0, w, kToolbarPictureSize.height()));
  }
  return icons;
}

}  // namespace f7301
