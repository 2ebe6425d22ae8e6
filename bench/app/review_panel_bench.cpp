// The "Revisión" panel over a 500-row form with 50 problems, in the
// program's own browser engine: the time from a box left (its change and
// blur events sent to the page) to the panel showing the list made after it;
// of that, the page's review (revisionformulario) on its own; and leaving a
// box with the panel closed and open, to the end of the page's own handlers.
// Built into the window test runner, not run by ctest:
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
//   QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu build/tests/app/app_tests ReviewPanelBench
// F7301_BENCH_RUNS sets the number of runs (default 9).
#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <cstdio>

#include "app/main_frame.h"
#include "app/review_panel.h"
#include "bench/app/bench_figures.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

constexpr int kProblems = 50;

// 500 rows of 1 gallon of DIESEL; every tenth row a problem: the first 25 a
// buyer's NIT with a wrong check digit (an aviso), the last 25 gallons that
// are no amount (an error). The exempt sales match the 475 gallons counted.
QString FormOfFiftyProblems() {
  const QString year = QString::number(QDate::currentDate().year());
  QJsonObject fields{{"c2", "19"},       {"c3", "ESTACION EL SOL"}, {"mes_ini", "01"},
                     {"anio_ini", year}, {"dia_fin", "31"},         {"mes_fin", "01"},
                     {"anio_fin", year}, {"c4", "01/01/" + year},   {"c5", "31/01/" + year},
                     {"c30", "1000"},    {"c36", "475.00"}};
  for (int row = 1; row <= kMaxAnnexRows; ++row) {
    const QString cell = QStringLiteral("f1%1c").arg(row);
    const bool problem = row % 10 == 0;
    fields[cell + "1"] = problem && row <= 250 ? "18" : "19";
    fields[cell + "2"] = problem && row > 250 ? "abc" : "1.00";
    fields[cell + "3"] = "DIESEL";
  }
  const QJsonObject draft{{"filas", QJsonArray{0, kMaxAnnexRows}}, {"campos", fields}};
  return QString::fromUtf8(QJsonDocument(draft).toJson(QJsonDocument::Compact));
}

// Leaves `name` after typing `text` in it, as engine.mjs does: the script
// ends when the page's handlers have.
QString LeaveScript(const QString& name, const QString& text) {
  return QStringLiteral(
             "(function () { var f = document.getElementsByName('%1')[0]; f.focus();"
             " f.value = '%2'; f.dispatchEvent(new Event('input', {bubbles: true}));"
             " f.dispatchEvent(new Event('change', {bubbles: true})); f.blur(); return true; })()")
      .arg(name, text);
}

// Runs `script` and returns, once the page has answered, the time on `clock`.
qint64 Answered(const QString& script, const QElapsedTimer& clock) {
  QEventLoop loop;
  qint64 ns = -1;
  Page().runJavaScript(script, [&](const QVariant&) {
    ns = clock.nsecsElapsed();
    loop.quit();
  });
  loop.exec();
  return ns;
}

int ListedLines() { return Frame().reviewPanel()->list()->topLevelItemCount(); }

}  // namespace

class ReviewPanelBench : public QObject {
  Q_OBJECT

 private slots:
  void leavingABoxOf500Rows() {
    QVERIFY(ReloadBlankForm());
    QVERIFY(RunJs(QStringLiteral("restauraborrador(%1)").arg(FormOfFiftyProblems())).toBool());
    CReviewPanel& panel = *Frame().reviewPanel();
    QSignalSpy updates(&panel, &CReviewPanel::updated);
    panel.Open();
    QVERIFY(updates.wait(30000));
    QCOMPARE(ListedLines(), kProblems);

    // The page's review timed where the panel runs it.
    QVERIFY(RunJs(QStringLiteral(
                      "(function () { var review = revisionformulario; window.__reviews = [];"
                      " window.revisionformulario = function () { var t = performance.now();"
                      " try { return review(); } finally { __reviews.push(performance.now() - t); }"
                      " }; return true; })()"))
                .toBool());

    Figures listed, review, leaveOpen, leaveClosed, answerClosed;
    // A grid box and an annex cell, each given one of two amounts in turn;
    // the cell's keep the annex total, so that the list stays as it was.
    const QString boxes[] = {QStringLiteral("c6"), QStringLiteral("f1499c2")};
    const QString amounts[2][2] = {{QStringLiteral("7"), QStringLiteral("12.345")},
                                   {QStringLiteral("1"), QStringLiteral("1.0")}};
    for (int run = 0; run < BenchRuns(); ++run) {
      for (int i = 0; i < 2; ++i) {
        QTest::qWait(300);  // the page idle
        updates.clear();
        QElapsedTimer clock;
        clock.start();
        leaveOpen.Add(Answered(LeaveScript(boxes[i], amounts[i][run % 2]), clock));
        QVERIFY(!updates.isEmpty() || updates.wait(30000));
        listed.Add(clock.nsecsElapsed());
        QCOMPARE(updates.count(), 1);
        QCOMPARE(ListedLines(), kProblems);
      }
    }
    for (const QVariant& ms : RunJs(QStringLiteral("__reviews")).toList()) {
      review.Add(static_cast<qint64>(ms.toDouble() * 1e6));
    }

    panel.hide();
    updates.clear();
    for (int run = 0; run < BenchRuns(); ++run) {
      for (int i = 0; i < 2; ++i) {
        QTest::qWait(300);
        QElapsedTimer clock;
        clock.start();
        leaveClosed.Add(Answered(LeaveScript(boxes[i], amounts[i][run % 2]), clock));
        answerClosed.Add(Answered(QStringLiteral("1"), clock));
      }
    }
    QCOMPARE(updates.count(), 0);

    std::printf(
        "| 500 annex rows, %d problems (%d runs, ms) | median | fastest | slowest |\n"
        "|---|---|---|---|\n",
        kProblems, BenchRuns());
    listed.Print("a box left (c6, f1499c2) to the list up to date, panel open");
    review.Print("- of which the page's review (revisionformulario, page clock)");
    leaveOpen.Print("a box left, to the end of the page's handlers, panel open");
    leaveClosed.Print("a box left, to the end of the page's handlers, panel closed");
    answerClosed.Print("a box left, to an empty script's answer after it, panel closed");
  }
};

F7301_APP_TEST(ReviewPanelBench);

}  // namespace f7301::test

#include "review_panel_bench.moc"
