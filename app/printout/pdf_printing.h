#pragma once
// A finished PDF sent to a printer: each page drawn at the printer's own
// resolution (Qt PDF, the browser's PDF renderer).
#include <QByteArray>

class QPrinter;

namespace f7301 {

// Prints every page of `pdf` on `printer`, each page filling the paper as
// the PDF lays it out. Safe off the window's thread while nothing else uses
// `printer`. False when the PDF cannot be read or the printer refuses.
bool PrintPdf(const QByteArray& pdf, QPrinter& printer);

}  // namespace f7301
