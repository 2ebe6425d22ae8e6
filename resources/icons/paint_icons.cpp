// Paints the program's pictures at build time: the toolbar strip (six 16 by
// 15 pictures) and the program icon in three sizes. Shapes only, no text, so
// no fonts are needed. Usage: paint_icons OUTPUT_DIR
#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cstdio>

namespace {

const QColor kInk(40, 40, 60);
const QColor kPaper(255, 255, 255);
const QColor kFormBlue(0xa3, 0xc9, 0xff);
const QColor kDeepBlue(20, 70, 160);

// A sheet with a folded corner in the 16 by 15 cell at `x`.
void Sheet(QPainter& p, int x, int right = 12) {
  QPolygon outline({QPoint(x + 2, 0), QPoint(x + right - 3, 0), QPoint(x + right, 3),
                    QPoint(x + right, 14), QPoint(x + 2, 14)});
  p.setPen(kInk);
  p.setBrush(kPaper);
  p.drawPolygon(outline);
  p.drawLine(x + right - 3, 0, x + right - 3, 3);
  p.drawLine(x + right - 3, 3, x + right, 3);
}

void TextLines(QPainter& p, int x, int from, int to, int right) {
  p.setPen(kFormBlue.darker(130));
  for (int y = from; y <= to; y += 2) p.drawLine(x + 4, y, x + right, y);
}

void Nuevo(QPainter& p, int x) {
  Sheet(p, x, 13);
  p.setPen(QColor(230, 180, 0));
  p.drawLine(x + 12, 8, x + 15, 8);  // a small spark: "new"
  p.drawLine(x + 13, 6, x + 14, 10);
}

void Consultar(QPainter& p, int x) {
  Sheet(p, x, 11);
  TextLines(p, x, 5, 11, 8);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(200, 230, 255, 200));
  p.drawEllipse(QRectF(x + 7.5, 5.5, 6, 6));
  p.setPen(QPen(QColor(120, 70, 20), 2.0));
  p.drawLine(QPointF(x + 12.5, 10.5), QPointF(x + 15, 13.5));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void Modificar(QPainter& p, int x) {
  Sheet(p, x, 11);
  TextLines(p, x, 5, 11, 8);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(200, 150, 0), 3.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(x + 15, 1.5), QPointF(x + 8.5, 9.5));
  p.setPen(QPen(kInk, 1.5));
  p.drawLine(QPointF(x + 8.5, 9.5), QPointF(x + 7, 12));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void Imprimir(QPainter& p, int x) {
  p.setPen(kInk);
  p.setBrush(kPaper);
  p.drawRect(x + 4, 0, 8, 6);  // paper in
  p.setBrush(QColor(170, 170, 180));
  p.drawRect(x + 1, 5, 14, 6);  // body
  p.setBrush(kPaper);
  p.drawRect(x + 4, 9, 8, 5);  // paper out
  TextLines(p, x + 1, 11, 13, 10);
  p.setPen(QColor(0, 170, 0));
  p.drawPoint(x + 13, 7);
}

void AcercaDe(QPainter& p, int x) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kDeepBlue.darker(130), 1.0));
  p.setBrush(kDeepBlue);
  p.drawEllipse(QRectF(x + 1.5, 0.5, 13, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawEllipse(QRectF(x + 7, 2.5, 2.2, 2.2));
  p.drawRect(QRectF(x + 7, 5.8, 2.2, 5.7));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void Salir(QPainter& p, int x) {
  p.setPen(kInk);
  p.setBrush(QColor(150, 95, 45));
  p.drawRect(x + 1, 0, 8, 14);  // door
  p.setBrush(QColor(230, 200, 60));
  p.drawPoint(x + 7, 7);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 150, 40));
  QPolygonF arrow({QPointF(x + 8, 6), QPointF(x + 12, 6), QPointF(x + 12, 3.5),
                   QPointF(x + 16, 7.5), QPointF(x + 12, 11.5), QPointF(x + 12, 9),
                   QPointF(x + 8, 9)});
  p.drawPolygon(arrow);
  p.setRenderHint(QPainter::Antialiasing, false);
}

QImage ToolbarStrip() {
  QImage strip(96, 15, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  Nuevo(p, 0);
  Consultar(p, 16);
  Modificar(p, 32);
  Imprimir(p, 48);
  AcercaDe(p, 64);
  Salir(p, 80);
  return strip;
}

// The program icon: the form sheet with its blue header band, lines of
// boxes and a seal, drawn on a 48-unit grid and scaled to `size`.
QImage ProgramIcon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(size / 48.0, size / 48.0);
  QPainterPath sheet;
  sheet.moveTo(7, 2);
  sheet.lineTo(33, 2);
  sheet.lineTo(42, 11);
  sheet.lineTo(42, 46);
  sheet.lineTo(7, 46);
  sheet.closeSubpath();
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(QColor(255, 255, 236));
  p.drawPath(sheet);
  p.setBrush(kFormBlue);
  p.drawRect(QRectF(11, 7, 19, 7));
  p.setPen(QPen(kDeepBlue, 2.0));
  for (int y = 19; y <= 35; y += 5) p.drawLine(QPointF(11, y), QPointF(38, y));
  p.setPen(QPen(QColor(180, 20, 20), 1.5));
  p.setBrush(QColor(220, 50, 40));
  p.drawEllipse(QRectF(28, 32, 12, 12));
  return icon;
}

bool Save(const QImage& image, const QString& dir, const char* name) {
  const QString path = QDir(dir).filePath(QString::fromLatin1(name));
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "paint_icons: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: paint_icons OUTPUT_DIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  bool ok = Save(ToolbarStrip(), dir, "toolbar.png");
  ok = Save(ProgramIcon(16), dir, "formulario7301-16.png") && ok;
  ok = Save(ProgramIcon(32), dir, "formulario7301-32.png") && ok;
  ok = Save(ProgramIcon(48), dir, "formulario7301-48.png") && ok;
  return ok ? 0 : 1;
}
