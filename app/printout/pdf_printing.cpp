#include "app/printout/pdf_printing.h"

#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QTemporaryFile>
#include <algorithm>

namespace f7301 {
namespace {

// A page at a printer's 1200 dpi is some 550 MB as one picture; it is drawn
// in bands of this many device pixels instead.
constexpr int kBandHeight = 512;

void PrintPage(QPdfDocument& document, int page, QPainter& painter, const QRect& paper) {
  QPdfDocumentRenderOptions options;
  options.setScaledSize(paper.size());
  for (int top = 0; top < paper.height(); top += kBandHeight) {
    const int height = std::min(kBandHeight, paper.height() - top);
    options.setScaledClipRect(QRect(0, top, paper.width(), height));
    const QImage band = document.render(page, QSize(paper.width(), height), options);
    painter.drawImage(QPoint(paper.left(), paper.top() + top), band);
  }
}

}  // namespace

bool PrintPdf(const QByteArray& pdf, QPrinter& printer) {
  QTemporaryFile file;
  if (!file.open() || file.write(pdf) != pdf.size() || !file.flush()) return false;
  QPdfDocument document;
  if (document.load(file.fileName()) != QPdfDocument::Error::None) return false;
  if (document.pageCount() < 1) return false;
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect paper = printer.pageLayout().fullRectPixels(printer.resolution());
  for (int page = 0; page < document.pageCount(); ++page) {
    if (page > 0 && !printer.newPage()) return false;
    PrintPage(document, page, painter, paper);
  }
  return painter.end();
}

}  // namespace f7301
