// Exportar a PDF in the real window: the document written for the form of
// 500 annex rows, editable and read-only, read back as a reader of the PDF
// finds it (poppler's pdftotext and pdfimages).
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_frame.h"
#include "app/printout/form_printout.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"
#include "tests/app/printout_support.h"

namespace f7301::test {

class PrintoutTest : public QObject {
  Q_OBJECT

 private slots:
  void fullAnnexFormIsADocumentOnEveryPage() {
    QTemporaryDir dir;
    const testing::SampleDeclaration d = AnnexSample(kMaxAnnexRows);
    const QString file = SealedFile(dir, d);
    QVERIFY(!file.isEmpty());
    for (const LoadMode mode : {LoadMode::Modificar, LoadMode::Consultar}) {
      QVERIFY(ShowDeclaration(mode, file));
      // A corrected declaration is numbered afresh: the head names the number
      // on screen.
      const QString number = mode == LoadMode::Modificar ? RunJs("document.C.c1.value").toString()
                                                         : QStringLiteral("10203045");
      QVERIFY(!number.isEmpty());
      const QString head = QStringLiteral(
                               "Formulario RTQ-7301 \u00B7 NIT 12345679 \u00B7 Periodo 03/2011 "
                               "\u00B7 No. ") +
                           number;
      // The declaration shown proposes its own name.
      QCOMPARE(Frame().view()->printout().ProposedPdf(), file + ".pdf");
      const QString pdf =
          dir.filePath(mode == LoadMode::Modificar ? "editable.pdf" : "lectura.pdf");
      QVERIFY(ExportPdf(pdf));

      const QStringList pages = PdfPageTexts(pdf);
      QVERIFY2(pages.size() > 1, qPrintable(pages.join("\f").left(300)));
      const QString all = pages.join(QLatin1Char('\n'));
      for (int page = 0; page < pages.size(); ++page) {
        const QString foot = QStringLiteral("P\u00E1gina %1 de %2").arg(page + 1).arg(pages.size());
        QVERIFY2(pages[page].contains(head), qPrintable(pages[page].left(300)));
        QVERIFY2(pages[page].contains(foot), qPrintable(foot));
        // The annex headings repeat on every page after the one it starts on.
        if (page > 0) QVERIFY2(pages[page].contains("Cantidad de Galones"), qPrintable(foot));
      }
      // Each row whole on one page, none lost, none twice.
      for (const testing::AnnexRow& row : d.annex) {
        QVERIFY2(all.count(QString::fromStdString(row.nit)) == 1, row.nit.c_str());
      }
      for (const char* control : {"Validar", "Agregar renglones"}) {
        QVERIFY2(!all.contains(QLatin1String(control)), control);
      }
      // Text, not pictures of pages.
      QCOMPARE(PdfImageCount(pdf), 0);
    }
  }

  // "Cancelar" while the PDF is made: no file, nothing said.
  void cancelledExportWritesNothing() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("cancelado.pdf");
    PromptScript prompts;
    prompts.Answer(PromptKind::PdfExportFile, pdf);
    Frame().statusBar()->clearMessage();
    Frame().exportPdfAction()->trigger();
    auto* progress = Frame().findChild<QProgressDialog*>();
    QVERIFY(progress);
    QPushButton* cancel = progress->findChild<QPushButton*>();
    QVERIFY(cancel && cancel->text() == QStringLiteral("Cancelar"));
    cancel->click();
    QTRY_VERIFY_WITH_TIMEOUT(!Frame().findChild<QProgressDialog*>(), 30000);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(Frame().statusBar()->currentMessage().isEmpty());
    QCOMPARE(prompts.CountOf(PromptKind::AppMessage), 0);
    // The next export is made as if none had been cancelled.
    QVERIFY(ExportPdf(pdf));
  }

  // Nothing shown from a file: the name offered is the program's.
  void blankFormProposesTheProgramName() {
    QVERIFY(ReloadBlankForm());
    QVERIFY(Frame().view()->printout().ProposedPdf().endsWith("/Formulario7301.pdf"));
  }
};

F7301_APP_TEST(PrintoutTest);

}  // namespace f7301::test

#include "printout_test.moc"
