// The toolbar pictures and the program icon on a high-density screen: each
// scale has its own drawing, not an enlarged 16-pixel picture.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <QToolBar>

#include "app/main_frame.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

QImage At(const QIcon& icon, QSize size, qreal scale) {
  return icon.pixmap(size, scale).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool IsEnlargementOf(const QImage& big, const QImage& small) {
  return big == small.scaled(big.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation) ||
         big == small.scaled(big.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

class PicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void toolbarPicturesAreDrawnForScaleTwo() {
    const QSize size = Frame().toolBar()->iconSize();
    int buttons = 0;
    for (QAction* action : Frame().toolBar()->actions()) {
      if (action->isSeparator()) continue;
      ++buttons;
      const QImage one = At(action->icon(), size, 1.0);
      const QImage two = At(action->icon(), size, 2.0);
      QCOMPARE(one.size(), size);
      QCOMPARE(two.size(), size * 2);
      QVERIFY2(!IsEnlargementOf(two, one), qPrintable(action->toolTip()));
      // Both are pictures, not empty squares.
      QVERIFY(one.pixelColor(8, 7).alpha() > 0 || one.pixelColor(4, 4).alpha() > 0);
    }
    QCOMPARE(buttons, 9);
  }

  void programIconHasEveryThemeSize() {
    const QIcon icon = QApplication::windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
      QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
    }
    // The 32-pixel icon (a 16-pixel one at scale 2) is drawn at 32 pixels.
    QVERIFY(!IsEnlargementOf(At(icon, QSize(32, 32), 1.0), At(icon, QSize(16, 16), 1.0)));
  }
};

F7301_APP_TEST(PicturesTest);

}  // namespace f7301::test

#include "pictures_test.moc"
