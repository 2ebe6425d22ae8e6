// Importing a 500-row annex in the program's own browser engine, timed from
// the answer of the "Importar anexo" dialog to a form ready to type in.
// Built into the window test runner, not run by ctest:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
//   QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu build/tests/app/app_tests AnnexImportBench
// F7301_BENCH_RUNS sets the number of runs (default 9).
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "annexcsv/annex_page_calls.h"
#include "annexcsv/annex_reader.h"
#include "app/annex_transfer.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/modal_prompts.h"
#include "bench/app/bench_figures.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

// 500 sales as a spreadsheet set to Spanish writes them: Windows-1252, ";",
// decimal commas, a title line.
QByteArray SpanishFile() {
  QByteArray file = "NIT;Galones;Producto\r\n";
  for (int i = 1; i <= kMaxAnnexRows; ++i) {
    file += "12345679;" + QByteArray::number(i) + ",5;" +
            QByteArray(kAnnexProducts[i % kAnnexProducts.size()]).toLower() + "\r\n";
  }
  return file;
}

}  // namespace

class AnnexImportBench : public QObject {
  Q_OBJECT

 private slots:
  void import500Rows() {
    QTemporaryDir dir;
    const QString path = dir.filePath("ventas.csv");
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(SpanishFile());
    out.close();

    Figures read, page, message, ready;
    for (int run = 0; run < BenchRuns(); ++run) {
      // The core alone: reading and taking the file apart.
      QElapsedTimer core;
      core.start();
      const AnnexFile file = ReadAnnexCsvFile(path.toStdString());
      read.Add(core.nsecsElapsed());
      QCOMPARE(file.sales.size(), size_t(kMaxAnnexRows));

      // The page alone: checking the rows and filling the annex.
      QVERIFY(ReloadBlankForm());
      const QString script = QString::fromStdString(AnnexImportScript(file));
      page.Add(qint64(
          RunJs(
              "(function () { var t = performance.now(); " + script +
              "; document.body.getBoundingClientRect(); return (performance.now() - t) * 1e6; })()")
              .toDouble()));
      QCOMPARE(RunJs("document.C.f1500c2.value").toString(), QStringLiteral("500.50"));

      // The whole road in the program, from the dialog's answer.
      QVERIFY(ReloadBlankForm());
      QVERIFY(QTest::qWaitFor([] { return Frame().importAnnexAction()->isEnabled(); }, 10000));
      QElapsedTimer clock;
      qint64 shown = 0;
      SetPromptAnswerer([&](const PromptRequest& request) -> std::optional<QString> {
        if (request.kind == PromptKind::ViewMessage) shown = clock.nsecsElapsed();
        return std::nullopt;
      });
      clock.start();
      Frame().view()->annexTransfer()->ImportFile(path);
      QVERIFY(QTest::qWaitFor([&] { return shown != 0; }, 30000));
      // Ready to type in: the page has laid the 500 rows out and answers.
      QVERIFY(RunJs("document.body.getBoundingClientRect().height > 0").toBool());
      ready.Add(clock.nsecsElapsed());
      message.Add(shown);
      SetPromptAnswerer({});
      QCOMPARE(RunJs("document.C.c1618.value").toString(), QStringLiteral("125500.00"));
    }
    std::printf(
        "| step (500 rows, %d runs, ms) | median | fastest | slowest |\n|---|---|---|---|\n",
        BenchRuns());
    read.Print("core: read and take the file apart");
    page.Print("page: importaanexo, checks to laid-out annex");
    message.Print("dialog's answer to the outcome message");
    ready.Print("dialog's answer to a form ready to type in");
  }
};

F7301_APP_TEST(AnnexImportBench);

}  // namespace f7301::test

#include "annex_import_bench.moc"
