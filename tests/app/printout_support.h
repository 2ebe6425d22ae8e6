#pragma once
// Exporting the form on screen to PDF as the user does, and reading a PDF
// back with poppler's tools, for the printout test and benchmark.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "app/formulario_view.h"
#include "tests/app/sealed_file.h"
#include "tests/support/sample_declaration.h"

namespace f7301::test {

// `rows` annex rows, each with a NIT of its own ("88" and six digits).
testing::SampleDeclaration AnnexSample(int rows);

// Opens `file` as Consultar or Modificar does and waits for its page.
bool ShowDeclaration(LoadMode mode, const QString& file);

// Exportar a PDF into `pdf`; true once the status bar says it was written.
bool ExportPdf(const QString& pdf);

// The text of each page of `pdf` (pdftotext), in order.
QStringList PdfPageTexts(const QString& pdf);

// The number of pictures in `pdf` (pdfimages -list).
int PdfImageCount(const QString& pdf);

}  // namespace f7301::test
