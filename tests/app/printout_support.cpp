#include "tests/app/printout_support.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QWebEnginePage>

#include "app/main_frame.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QStringLiteral("(failed)");
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

testing::SampleDeclaration AnnexSample(int rows) {
  testing::SampleDeclaration d = testing::FullSample(rows);
  for (int r = 0; r < rows; ++r) d.annex[r].nit = "88" + std::to_string(100001 + r);
  return d;
}

// Waits for the new page to have loaded, not for the page it replaces.
bool ShowDeclaration(LoadMode mode, const QString& file) {
  QSignalSpy loaded(&Page(), &QWebEnginePage::loadFinished);
  Frame().view()->OpenDeclarationFile(mode, file);
  return QTest::qWaitFor([&] { return !loaded.isEmpty(); }, 30000) &&
         loaded.first().first().toBool() && Page().url().toString().contains("/generated/");
}

bool ExportPdf(const QString& pdf) {
  PromptScript prompts;
  prompts.Answer(PromptKind::PdfExportFile, pdf);
  const QString said = QStringLiteral("Se export\u00F3 el formulario a %1.").arg(pdf);
  Frame().statusBar()->clearMessage();
  Frame().exportPdfAction()->trigger();
  return QTest::qWaitFor([&] { return Frame().statusBar()->currentMessage() == said; }, 60000);
}

QStringList PdfPageTexts(const QString& pdf) {
  QStringList pages =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
          .split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

int PdfImageCount(const QString& pdf) {
  // Two title lines, then one line per picture.
  const QStringList lines = Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  return lines.size() < 2 ? -1 : static_cast<int>(lines.size()) - 2;
}

}  // namespace f7301::test
