// The "Revisión" panel over the real window: F7 with the caret in a box
// opens it with every problem of the form, Enter on a line puts the caret in
// its box, fixing the box and leaving it removes the line, nothing is asked
// of the page while the panel is closed, and "Validar" stopped at a problem
// opens it after its message.
#include "app/review_panel.h"

#include <QApplication>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>

#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

QWidget* PageWidget() { return Frame().view()->browser()->focusProxy(); }
CReviewPanel& Panel() { return *Frame().reviewPanel(); }

// Each line as "class field".
QStringList Lines() {
  QStringList lines;
  QTreeWidget* list = Panel().list();
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    lines << item->text(0) + QLatin1Char(' ') + item->data(0, Qt::UserRole).toString();
  }
  return lines;
}

bool WaitForLines(const QStringList& expected) {
  return QTest::qWaitFor([&] { return !Panel().isHidden() && Lines() == expected; }, 15000);
}

QString Caret() { return RunJs("document.activeElement.name || ''").toString(); }

// Five problems, as a kept draft puts them back: a NIT whose check digit is
// wrong (an aviso), a grid box that is no amount, one over the limit, the
// diesel exempt sales against an annex that sums less, and annex gallons
// that are no amount.
void PutFormOfFiveProblems() {
  const QString year = QString::number(QDate::currentDate().year());
  const QJsonObject fields{
      {"c2", "18"},        {"c3", "ESTACION EL SOL"}, {"mes_ini", "01"},
      {"anio_ini", year},  {"dia_fin", "31"},         {"mes_fin", "01"},
      {"anio_fin", year},  {"c4", "01/01/" + year},   {"c5", "31/01/" + year},
      {"c6", "abc"},       {"c7", "99999999999"},     {"c30", "20"},
      {"c36", "15"},       {"f11c1", "19"},           {"f11c2", "12.50"},
      {"f11c3", "DIESEL"}, {"f12c1", "19"},           {"f12c2", "abc"},
      {"f12c3", "DIESEL"},
  };
  const QJsonObject draft{{"filas", QJsonArray{0, 3}}, {"campos", fields}, {"foco", "c3"}};
  const QString record = QString::fromUtf8(QJsonDocument(draft).toJson(QJsonDocument::Compact));
  QVERIFY(RunJs(QStringLiteral("restauraborrador(%1)").arg(record)).toBool());
}

}  // namespace

class ReviewPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }
  void cleanup() { Panel().hide(); }

  void listsTheProblemsGoesToThemAndFollowsTheForm() {
    PromptScript prompts;
    PutFormOfFiveProblems();
    QVERIFY(Panel().isHidden());
    // The caret left the NIT box for the name: its check spoke.
    QCOMPARE(prompts.CountOf(PromptKind::ScriptAlert), 1);
    prompts.asked.clear();

    // F7 with the caret in a box of the form.
    Frame().activateWindow();
    PageWidget()->setFocus();
    QCOMPARE(Caret(), QStringLiteral("c3"));
    QTest::keyClick(PageWidget(), Qt::Key_F7);
    QVERIFY(WaitForLines({"Aviso c2", "Error c6", "Error c7", "Error c36", "Error f12c2"}));
    QCOMPARE(Panel().windowTitle(), QStringLiteral("Revisión: 4 errores, 1 aviso"));
    QTreeWidget* list = Panel().list();
    QVERIFY(list->hasFocus());
    const QTreeWidgetItem* diesel = list->topLevelItem(3);
    QCOMPARE(diesel->text(1), QStringLiteral("Diesel, Ventas Exentas, casilla 36"));
    QCOMPARE(diesel->text(2),
             QStringLiteral("Diesel: ventas exentas 15.00, anexo 12.50, diferencia 2.50"));
    QCOMPARE(list->topLevelItem(4)->text(1),
             QStringLiteral("Anexo, renglón 2, Cantidad de galones exentos"));
    QCOMPARE(list->topLevelItem(0)->text(2),
             QStringLiteral(
                 "El NIT posee un dígito verificador inválido. Por favor escríbalo correctamente"));

    // Enter on the line of c7: the caret in c7, in sight.
    list->setCurrentItem(list->topLevelItem(2));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_COMPARE(Caret(), QStringLiteral("c7"));
    QTRY_VERIFY(PageWidget()->hasFocus());
    QVERIFY(RunJs("var r = document.activeElement.getBoundingClientRect();"
                  "r.top >= 0 && r.bottom <= window.innerHeight")
                .toBool());

    // Fixed and left, as typed: its line goes.
    QTest::keyClick(PageWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(PageWidget(), QStringLiteral("5"));
    QTest::keyClick(PageWidget(), Qt::Key_Tab);
    QVERIFY(WaitForLines({"Aviso c2", "Error c6", "Error c36", "Error f12c2"}));
    QCOMPARE(Panel().windowTitle(), QStringLiteral("Revisión: 3 errores, 1 aviso"));
    QCOMPARE(prompts.TextsOf(PromptKind::ScriptAlert), QStringList());
    QVERIFY(prompts.asked.empty());

    // Closed, the panel asks nothing of the page when a box is left.
    QTest::keyClick(PageWidget(), Qt::Key_F7);
    QTRY_VERIFY(Panel().isHidden());
    QSignalSpy updates(&Panel(), &CReviewPanel::updated);
    QVERIFY(RunJs("var f = document.C.c6; f.focus(); f.value = '1';"
                  "f.dispatchEvent(new Event('change', {bubbles: true})); f.blur(); true")
                .toBool());
    QTest::qWait(500);
    QCOMPARE(updates.count(), 0);

    // "Validar" stops at the exempt sales: its message, then the panel.
    bool messageFirst = false;
    QObject watching;
    connect(&Panel(), &QDockWidget::visibilityChanged, &watching, [&](bool shown) {
      if (shown) messageFirst = prompts.CountOf(PromptKind::ScriptAlert) == 1;
    });
    RunJs("document.C.validar.click(); true");
    QVERIFY(WaitForLines({"Aviso c2", "Error c36", "Error f12c2"}));
    QVERIFY(messageFirst);
    QCOMPARE(prompts.CountOf(PromptKind::ScriptAlert), 1);
  }
};

F7301_APP_TEST(ReviewPanelTest);

}  // namespace f7301::test

#include "review_panel_test.moc"
