#include "app/printout/stamp_pages.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>

#include "printout/running_head.h"

namespace f7301 {
namespace {

// Points on paper; the writer's resolution is set to 72 so that one unit is
// one point.
constexpr int kPointsPerInch = 72;
constexpr qreal kTextHeight = 14.0;

QFont StampFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(7.5);
  return font;
}

}  // namespace

QByteArray DrawStampPages(const QString& head, int pages, const QPageLayout& layout) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kPointsPerInch);
  writer.setPageLayout(QPageLayout(layout.pageSize(), layout.orientation(), QMarginsF()));
  writer.setCreator(QStringLiteral("Formulario7301"));

  const QRectF paper = layout.fullRectPoints();
  const QMarginsF margins = layout.marginsPoints();
  // The head sits just above the printed area, the foot just below it.
  const QRectF headBox(margins.left(), margins.top() - kTextHeight - 4,
                       paper.width() - margins.left() - margins.right(), kTextHeight);
  const QRectF footBox(headBox.left(), paper.height() - margins.bottom() + 4, headBox.width(),
                       kTextHeight);

  QPainter painter(&writer);
  painter.setFont(StampFont());
  painter.setPen(Qt::black);
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) writer.newPage();
    painter.drawText(headBox, Qt::AlignHCenter | Qt::AlignBottom, head);
    painter.drawText(footBox, Qt::AlignRight | Qt::AlignTop,
                     QString::fromStdString(PageFoot(page, pages)));
  }
  painter.end();
  return pdf;
}

}  // namespace f7301
