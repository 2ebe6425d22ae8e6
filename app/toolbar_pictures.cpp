#include "app/toolbar_pictures.h"

#include <QPixmap>

namespace f7301 {

std::array<QIcon, kToolbarPictureCount> ToolbarPictures() {
  std::array<QIcon, kToolbarPictureCount> icons;
  // Each strip is drawn for its scale; the icon picks the one that fits the
  // screen's pixel ratio.
  for (int scale : kToolbarPictureScales) {
    const QString name = scale == 1 ? QStringLiteral(":/icons/toolbar.png")
                                    : QStringLiteral(":/icons/toolbar@%1x.png").arg(scale);
    const QPixmap strip(name);
    const int w = kToolbarPictureSize.width() * scale;
    const int h = kToolbarPictureSize.height() * scale;
    for (int i = 0; i < kToolbarPictureCount; ++i) icons[i].addPixmap(strip.copy(i * w, 0, w, h));
  }
  return icons;
}

}  // namespace f7301
