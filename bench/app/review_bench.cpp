// formulario7301 --revisar over many declaration files, timed from the
// program's start to its end, as a user runs it from a terminal without a
// display: the browser engine's start, each file read, its editable form
// loaded and reviewed, the lines printed. Built into the window test runner,
// not run by ctest:
//   QTWEBENGINE_DISABLE_SANDBOX=1 build/tests/app/app_tests ReviewBench
// F7301_BENCH_RUNS sets the number of runs (default 9).
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "bench/app/bench_figures.h"
#include "tests/app/app_test_support.h"
#include "tests/app/program_run.h"
#include "tests/app/sealed_file.h"
#include "tests/support/sample_declaration.h"

namespace f7301::test {
namespace {

// `count` declarations of `rows` annex rows, every box filled; their names.
QStringList Declarations(const QTemporaryDir& folder, int count, int rows) {
  QStringList files;
  testing::SampleDeclaration d = testing::FullSample(rows);
  for (int i = 0; i < count; ++i) {
    d.numero = std::to_string(10000000 + rows * 1000 + i);
    files << SealedFile(folder, d);
  }
  return files;
}

// A file's summary line ("FILE: 3 errores, 12 avisos"), not a problem's.
const QRegularExpression kSummary(QStringLiteral("^[^:]+: \\d+ (error|aviso)"),
                                  QRegularExpression::MultilineOption);

QByteArray LoadAverage() {
  QFile loadavg(QStringLiteral("/proc/loadavg"));
  return loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().trimmed() : QByteArray("?");
}

}  // namespace

class ReviewBench : public QObject {
  Q_OBJECT

 private slots:
  void reviewFiles() {
    QTemporaryDir folder;
    std::printf("load before: %s\n", LoadAverage().constData());
    std::printf("| files (%d runs, ms) | median | fastest | slowest |\n|---|---|---|---|\n",
                BenchRuns());
    const struct {
      int count;
      int rows;
    } sets[] = {{1, 3}, {100, 3}, {10, 500}};
    for (const auto& [count, rows] : sets) {
      const QStringList files = Declarations(folder, count, rows);
      QVERIFY(!files.contains(QString()));
      Figures times;
      qsizetype lines = 0;
      for (int run = 0; run < BenchRuns(); ++run) {
        QTemporaryDir home;
        QElapsedTimer clock;
        clock.start();
        const ProgramRun review = RunProgram(QStringList{QStringLiteral("--revisar")} + files,
                                             folder.path(), home.path());
        times.Add(clock.nsecsElapsed());
        QVERIFY2(review.finished && review.err.isEmpty(), qPrintable(review.err));
        // Every file reviewed: its summary line is there.
        QCOMPARE(review.out.count(kSummary), count);
        lines = review.out.count(QLatin1Char('\n'));
      }
      const QByteArray what = QStringLiteral("%1 %2 of %3 annex rows, %4 lines printed")
                                  .arg(count)
                                  .arg(QLatin1String(count == 1 ? "file" : "files"))
                                  .arg(rows)
                                  .arg(lines)
                                  .toUtf8();
      times.Print(what.constData());
    }
    std::printf("load after: %s\n", LoadAverage().constData());
  }
};

F7301_APP_TEST(ReviewBench);

}  // namespace f7301::test

#include "review_bench.moc"
