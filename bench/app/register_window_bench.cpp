// The register window with the 12,000 declarations of bench/register's
// generator, in the program itself: opening it with the index current to a
// filled list, a filter typed letter by letter, and the program's memory with
// the register open against without it. Built into the window test runner,
// not run by ctest:
//   F7301_REGISTER_BENCH_DIR=<generated folder> QT_QPA_PLATFORM=offscreen
//   QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
//   build/tests/app/app_tests RegisterWindowBench
// F7301_BENCH_RUNS sets the number of runs (default 9). The index goes to a
// temporary XDG_CACHE_HOME of the run.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/accelerator_filter.h"
#include "app/main_frame.h"
#include "app/register/register_folders.h"
#include "app/register/register_model.h"
#include "app/register/register_source.h"
#include "app/register/register_window.h"
#include "bench/app/bench_figures.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

CRegisterWindow& Register() { return *Frame().registerWindow(); }

// The heap's bytes in use, in MiB: against the resident memory, it tells
// memory kept by the program from memory the allocator holds on to.
double HeapInUseMiB() {
#ifdef __GLIBC__
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / (1024 * 1024);
#else
  return 0;
#endif
}

// From the menu command to the list filled and painted; nanoseconds.
qint64 OpenToFilledList() {
  QSignalSpy ended(&Register(), &CRegisterWindow::scanEnded);
  QElapsedTimer clock;
  clock.start();
  Frame().action(Command::Declaraciones)->trigger();
  if (!ended.wait(600000)) return -1;
  Register().table()->viewport()->repaint();
  return clock.nsecsElapsed();
}

}  // namespace

class RegisterWindowBench : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    m_folder = qEnvironmentVariable("F7301_REGISTER_BENCH_DIR");
    QVERIFY2(!m_folder.isEmpty(), "F7301_REGISTER_BENCH_DIR names the generated folder");
    qputenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit());
    SetRegisterFolders({m_folder});
  }

  void openFilterAndMemory() {
    QVERIFY(ReloadBlankForm());
    const double before = static_cast<double>(ResidentKiB()) / 1024;
    Figures first, open, keystroke;
    first.Add(OpenToFilledList());  // builds the index
    const double afterFirst = static_cast<double>(ResidentKiB()) / 1024;
    const int rows = Register().model().rowCount();
    std::printf("rows in the list: %d\n", rows);
    QVERIFY(rows >= 12000);
    std::string growth;
    for (int run = 0; run < BenchRuns(); ++run) {
      Register().close();
      open.Add(OpenToFilledList());
      QCOMPARE(Register().model().rowCount(), rows);
      char step[64];
      std::snprintf(step, sizeof step, " %.1f/%.1f", static_cast<double>(ResidentKiB()) / 1024,
                    HeapInUseMiB());
      growth += step;
    }
    const double open_ = static_cast<double>(ResidentKiB()) / 1024;
    // The parts of an opening: the core's catalog with the index current, on
    // this thread, and the list taking its rows.
    Figures core, model;
    CatalogRequest request;
    request.folders = {m_folder.toStdString()};
    request.cacheDir = DefaultRegisterCacheDir();
    for (int run = 0; run < BenchRuns(); ++run) {
      QElapsedTimer clock;
      clock.start();
      std::atomic<bool> cancel{false};
      CatalogResult result = BuildCatalog(request, cancel, [](std::size_t, std::size_t) {});
      core.Add(clock.nsecsElapsed());
      QCOMPARE(result.filesFromCache, result.filesFound);
      clock.restart();
      Register().model().SetRows(std::move(result.rows));
      model.Add(clock.nsecsElapsed());
    }
    // A NIT typed letter by letter, then taken back, each key with its repaint.
    QLineEdit* filter = Register().filterEdit();
    for (int run = 0; run < BenchRuns(); ++run) {
      for (const char* typed : {"9", "0", "0", "0", "1"}) {
        QElapsedTimer clock;
        clock.start();
        QTest::keyClicks(filter, QString::fromLatin1(typed));
        Register().table()->viewport()->repaint();
        keystroke.Add(clock.nsecsElapsed());
      }
      for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(filter, Qt::Key_Backspace);
        Register().table()->viewport()->repaint();
        keystroke.Add(clock.nsecsElapsed());
      }
    }
    std::printf("| step (%d rows, %d runs, ms) | median | fastest | slowest |\n|---|---|---|---|\n",
                rows, BenchRuns());
    first.Print("first opening: scan, read every file, build the index");
    open.Print("opening with the index current, to the list painted");
    core.Print("of which the core's catalog, index current (BuildCatalog)");
    model.Print("of which the list taking 12,000 rows");
    keystroke.Print("one key in the filter box, list painted");
    Register().close();
    std::printf(
        "resident memory: %.1f MiB without the register, %.1f MiB after the first opening, "
        "%.1f MiB open after %d more (+%.1f)\n",
        before, afterFirst, open_, BenchRuns(), open_ - before);
    std::printf("resident/heap in use after each opening (MiB):%s\n", growth.c_str());
  }

 private:
  QTemporaryDir m_cache;
  QString m_folder;
};

F7301_APP_TEST(RegisterWindowBench);

}  // namespace f7301::test

#include "register_window_bench.moc"
