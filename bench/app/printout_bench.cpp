// Exportar a PDF in the program's own browser engine, timed from the answer
// of the "Exportar a PDF" dialog to the status line saying it was written;
// with the size of the file and the program's memory before and after.
// Built into the window test runner, not run by ctest:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
//   QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu build/tests/app/app_tests PrintoutBench
// F7301_BENCH_RUNS sets the number of runs (default 9); F7301_BENCH_PDF_DIR
// keeps the PDFs written there.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "bench/app/bench_figures.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"
#include "tests/app/printout_support.h"

namespace f7301::test {

class PrintoutBench : public QObject {
  Q_OBJECT

 private slots:
  void exportPdf() {
    QTemporaryDir temporary;
    const QString kept = qEnvironmentVariable("F7301_BENCH_PDF_DIR");
    const QString folder = kept.isEmpty() ? temporary.path() : kept;
    std::printf("| form (%d runs, ms) | median | fastest | slowest |\n|---|---|---|---|\n",
                BenchRuns());
    const struct {
      int rows;
      LoadMode mode;
    } forms[] = {{3, LoadMode::Modificar},
                 {kMaxAnnexRows, LoadMode::Modificar},
                 {kMaxAnnexRows, LoadMode::Consultar}};
    for (const auto& [rows, mode] : forms) {
      const QString file = SealedFile(temporary, AnnexSample(rows));
      QVERIFY(ShowDeclaration(mode, file));
      const char* page = mode == LoadMode::Modificar ? "editable" : "read-only";
      const QString pdf = QStringLiteral("%1/anexo-%2-%3.pdf").arg(folder).arg(rows).arg(page);
      QTest::qWait(500);
      const long before = ResidentKiB();
      QVERIFY(ExportPdf(pdf));  // once untimed: the engine's first print
      Figures times;
      for (int run = 0; run < BenchRuns(); ++run) {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(ExportPdf(pdf));
        times.Add(clock.nsecsElapsed());
      }
      QTest::qWait(500);
      const long after = ResidentKiB();
      const QByteArray what = QStringLiteral(
                                  "%1 annex rows, %2, A4: %3 pages, %4 KB, "
                                  "memory %5 MiB before, %6 MiB after")
                                  .arg(rows)
                                  .arg(QLatin1String(page))
                                  .arg(PdfPageTexts(pdf).size())
                                  .arg(QFileInfo(pdf).size() / 1024)
                                  .arg(before / 1024)
                                  .arg(after / 1024)
                                  .toUtf8();
      times.Print(what.constData());
    }
  }
};

F7301_APP_TEST(PrintoutBench);

}  // namespace f7301::test

#include "printout_bench.moc"
