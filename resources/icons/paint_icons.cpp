// Paints the program's pictures at build time: the toolbar strip (nine 16
// by 15 pictures) at scale 1 and 2, and the program icon at every size a desktop
// asks for plus a scalable SVG copy. Each size is drawn, never scaled from a
// smaller picture, so the pictures stay sharp on a high-density screen.
// Shapes only, no text, so no fonts are needed. Usage: paint_icons OUTPUT_DIR
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextStream>
#include <QTransform>
#include <cstdio>
#include <vector>

namespace {

const QColor kInk(40, 40, 60);
const QColor kPaper(255, 255, 255);
const QColor kFormBlue(0xa3, 0xc9, 0xff);
const QColor kDeepBlue(20, 70, 160);

// Device pixels per grid pixel of the strip being drawn.
int gScale = 1;

// Outlines and fills on whole grid pixels, as a 16 by 15 picture has them.
// Above scale 1 they are drawn with antialiasing, shifted half a grid pixel so
// that a 1-unit line on whole coordinates covers whole device pixels, as it
// covers a whole pixel at scale 1.
void Crisp(QPainter& p) {
  const double shift = gScale > 1 ? 0.5 : 0.0;
  p.setTransform(QTransform::fromScale(gScale, gScale).translate(shift, shift));
  p.setRenderHint(QPainter::Antialiasing, gScale > 1);
}

// Round shapes placed on fractional coordinates, always antialiased.
void Smooth(QPainter& p) {
  p.setTransform(QTransform::fromScale(gScale, gScale));
  p.setRenderHint(QPainter::Antialiasing, true);
}

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
  Smooth(p);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(200, 230, 255, 200));
  p.drawEllipse(QRectF(x + 7.5, 5.5, 6, 6));
  p.setPen(QPen(QColor(120, 70, 20), 2.0));
  p.drawLine(QPointF(x + 12.5, 10.5), QPointF(x + 15, 13.5));
  Crisp(p);
}

void Modificar(QPainter& p, int x) {
  Sheet(p, x, 11);
  TextLines(p, x, 5, 11, 8);
  Smooth(p);
  p.setPen(QPen(QColor(200, 150, 0), 3.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(x + 15, 1.5), QPointF(x + 8.5, 9.5));
  p.setPen(QPen(kInk, 1.5));
  p.drawLine(QPointF(x + 8.5, 9.5), QPointF(x + 7, 12));
  Crisp(p);
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
  Smooth(p);
  p.setPen(QPen(kDeepBlue.darker(130), 1.0));
  p.setBrush(kDeepBlue);
  p.drawEllipse(QRectF(x + 1.5, 0.5, 13, 13));
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawEllipse(QRectF(x + 7, 2.5, 2.2, 2.2));
  p.drawRect(QRectF(x + 7, 5.8, 2.2, 5.7));
  Crisp(p);
}

void Salir(QPainter& p, int x) {
  p.setPen(kInk);
  p.setBrush(QColor(150, 95, 45));
  p.drawRect(x + 1, 0, 8, 14);  // door
  p.setBrush(QColor(230, 200, 60));
  p.drawPoint(x + 7, 7);
  Smooth(p);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 150, 40));
  QPolygonF arrow({QPointF(x + 8, 6), QPointF(x + 12, 6), QPointF(x + 12, 3.5),
                   QPointF(x + 16, 7.5), QPointF(x + 12, 11.5), QPointF(x + 12, 9),
                   QPointF(x + 8, 9)});
  p.drawPolygon(arrow);
  Crisp(p);
}

// A ledger of filings: a bound book with rows, one of them marked.
void Declaraciones(QPainter& p, int x) {
  p.setPen(kInk);
  p.setBrush(kPaper);
  p.drawRect(x + 2, 0, 12, 14);
  p.setBrush(kDeepBlue);
  p.drawRect(x + 2, 0, 2, 14);  // the binding
  p.setPen(kFormBlue.darker(130));
  for (int y = 3; y <= 11; y += 2) p.drawLine(x + 6, y, x + 12, y);
  p.setPen(QColor(0, 150, 40));
  p.drawLine(x + 6, 7, x + 12, 7);
  p.drawPoint(x + 5, 7);
}

// A sheet with a red band across it, as PDF files are commonly shown.
void ExportarPdf(QPainter& p, int x) {
  Sheet(p, x, 13);
  TextLines(p, x, 5, 7, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 30, 30));
  p.drawRect(x + 1, 9, 11, 4);
}

// A sheet with a warning sign over its corner: the problems of the form.
void Revision(QPainter& p, int x) {
  Sheet(p, x, 11);
  TextLines(p, x, 3, 7, 8);
  Smooth(p);
  p.setPen(QPen(QColor(150, 100, 0), 1.0));
  p.setBrush(QColor(250, 200, 30));
  p.drawPolygon(QPolygonF({QPointF(x + 11, 6.5), QPointF(x + 15.5, 14.5), QPointF(x + 6.5, 14.5)}));
  p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(x + 11, 9), QPointF(x + 11, 12));
  p.drawPoint(QPointF(x + 11, 13.5));
  Crisp(p);
}

// The strip drawn for a screen of `scale` device pixels per pixel.
QImage ToolbarStrip(int scale) {
  const auto pictures = {Nuevo, Consultar,     Modificar,   Imprimir, AcercaDe,
                         Salir, Declaraciones, ExportarPdf, Revision};
  QImage strip(16 * static_cast<int>(pictures.size()) * scale, 15 * scale, QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  gScale = scale;
  int x = 0;
  for (auto* picture : pictures) {
    Crisp(p);
    picture(p, x);
    x += 16;
  }
  return strip;
}

// One shape of the program icon, on a 48-unit grid.
struct Shape {
  enum class Kind { Path, Rect, Line, Ellipse } kind;
  QPolygonF points;  // Path: the outline; Line: its two ends
  QRectF rect;       // Rect and Ellipse
  QColor pen;
  double penWidth;
  QColor brush;  // invalid: not filled
};

// The program icon: the form sheet with its blue header band, lines of
// boxes and a seal. One description, painted at each size and written as SVG.
std::vector<Shape> ProgramIconShapes() {
  std::vector<Shape> shapes;
  const QPolygonF sheet(
      {QPointF(7, 2), QPointF(33, 2), QPointF(42, 11), QPointF(42, 46), QPointF(7, 46)});
  shapes.push_back({Shape::Kind::Path, sheet, {}, kInk, 1.5, QColor(255, 255, 236)});
  shapes.push_back({Shape::Kind::Rect, {}, QRectF(11, 7, 19, 7), kInk, 1.5, kFormBlue});
  for (int y = 19; y <= 35; y += 5) {
    shapes.push_back(
        {Shape::Kind::Line, QPolygonF({QPointF(11, y), QPointF(38, y)}), {}, kDeepBlue, 2.0, {}});
  }
  shapes.push_back({Shape::Kind::Ellipse,
                    {},
                    QRectF(28, 32, 12, 12),
                    QColor(180, 20, 20),
                    1.5,
                    QColor(220, 50, 40)});
  return shapes;
}

QImage ProgramIcon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(size / 48.0, size / 48.0);
  for (const Shape& shape : ProgramIconShapes()) {
    p.setPen(QPen(shape.pen, shape.penWidth));
    p.setBrush(shape.brush.isValid() ? QBrush(shape.brush) : QBrush(Qt::NoBrush));
    switch (shape.kind) {
      case Shape::Kind::Path:
        p.drawPolygon(shape.points);
        break;
      case Shape::Kind::Rect:
        p.drawRect(shape.rect);
        break;
      case Shape::Kind::Line:
        p.drawLine(shape.points[0], shape.points[1]);
        break;
      case Shape::Kind::Ellipse:
        p.drawEllipse(shape.rect);
        break;
    }
  }
  return icon;
}

QString SvgPaint(const Shape& shape) {
  const QString fill = shape.brush.isValid() ? shape.brush.name() : QStringLiteral("none");
  return QStringLiteral(R"( fill="%1" stroke="%2" stroke-width="%3"/>)")
      .arg(fill, shape.pen.name())
      .arg(shape.penWidth);
}

QString ProgramIconSvg() {
  QString svg;
  QTextStream out(&svg);
  out << R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">)"
      << "\n";
  for (const Shape& shape : ProgramIconShapes()) {
    const QRectF& r = shape.rect;
    switch (shape.kind) {
      case Shape::Kind::Path: {
        out << R"(  <polygon points=")";
        for (const QPointF& pt : shape.points) out << pt.x() << ',' << pt.y() << ' ';
        out << '"';
        break;
      }
      case Shape::Kind::Rect:
        out << QStringLiteral(R"(  <rect x="%1" y="%2" width="%3" height="%4")")
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height());
        break;
      case Shape::Kind::Line:
        out << QStringLiteral(R"(  <line x1="%1" y1="%2" x2="%3" y2="%4")")
                   .arg(shape.points[0].x())
                   .arg(shape.points[0].y())
                   .arg(shape.points[1].x())
                   .arg(shape.points[1].y());
        break;
      case Shape::Kind::Ellipse:
        out << QStringLiteral(R"(  <ellipse cx="%1" cy="%2" rx="%3" ry="%4")")
                   .arg(r.center().x())
                   .arg(r.center().y())
                   .arg(r.width() / 2)
                   .arg(r.height() / 2);
        break;
    }
    out << SvgPaint(shape) << "\n";
  }
  out << "</svg>\n";
  return svg;
}

bool Save(const QImage& image, const QString& dir, const QString& name) {
  const QString path = QDir(dir).filePath(name);
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "paint_icons: cannot write %s\n", qPrintable(path));
  return false;
}

bool SaveText(const QString& text, const QString& dir, const QString& name) {
  QFile file(QDir(dir).filePath(name));
  if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0) return true;
  std::fprintf(stderr, "paint_icons: cannot write %s\n", qPrintable(file.fileName()));
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
  bool ok = Save(ToolbarStrip(1), dir, QStringLiteral("toolbar.png"));
  ok = Save(ToolbarStrip(2), dir, QStringLiteral("toolbar@2x.png")) && ok;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    ok = Save(ProgramIcon(size), dir, QStringLiteral("formulario7301-%1.png").arg(size)) && ok;
  }
  ok = SaveText(ProgramIconSvg(), dir, QStringLiteral("formulario7301.svg")) && ok;
  return ok ? 0 : 1;
}
