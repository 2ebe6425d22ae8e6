// The browser view: the form pages served from inside the program, the
// page's window.external.GeneraArchivo, generated pages, printing, and the
// limits on where the page may go.
#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include "app/accelerator_filter.h"
#include "app/external_object.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/res_scheme.h"
#include "tests/app/app_test_support.h"
#include "tests/app/printout_support.h"

namespace f7301::test {
namespace {

std::string Cp1252(const char* latin1) { return std::string(latin1); }

// A page in the generated pages' manner: Windows-1252 text that uses the
// style sheet and scripts by their res: addresses, an inline script and a
// load handler.
std::string GeneratedPage(const std::string& bodyExtra = {}) {
  return Cp1252(
             "<html><head>"
             "<link rel='stylesheet' href='res://Formulario7301.exe/#23/#132' type='text/css'>"
             "<script type='text/javascript' src='res://Formulario7301.exe/#23/#133'></script>"
             "<script type='text/javascript' src='res://Formulario7301.exe/#23/#134'></script>"
             "<script type='text/javascript' src='res://Formulario7301.exe/#23/#135'></script>"
             "<script type='text/javascript' src='res://Formulario7301.exe/#23/#136'></script>"
             "<title>generada</title></head>"
             "<body onload=\"document.body.setAttribute('data-loaded', 'si')\">"
             "<table><tr><td class='fondo' id='celda'>D\xED"
             "a \xD1"
             "and\xFA</td></tr></table>"
             "<script>document.title = 'inline ' + typeof poscol;</script>") +
         bodyExtra + "</body></html>";
}

}  // namespace

class ViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  void blankPageComesFromTheProgramWithStyleAndScripts() {
    QCOMPARE(Page().url().toString(), QStringLiteral("res://formulario7301.exe/131"));
    QCOMPARE(RunJs("document.title").toString(), QStringLiteral("Formulario RTQ-No. 7301"));
    // The style sheet (132) applies: a spacer cell has the form's blue.
    QCOMPARE(
        RunJs("getComputedStyle(document.querySelector('td.fondo')).backgroundColor").toString(),
        QStringLiteral("rgb(163, 201, 255)"));
    // Each of the four scripts (133..136) ran: each defines its own globals.
    QCOMPARE(RunJs("[typeof restriccion, typeof inicial, typeof genera, typeof poscol].join()")
                 .toString(),
             QStringLiteral("function,function,function,function"));
    // The load handler numbered the form.
    QVERIFY(!RunJs("document.C.c1.value").toString().isEmpty());
    // The page is Windows-1252: accented texts arrive intact.
    QVERIFY(RunJs("document.body.innerText").toString().contains(QStringLiteral("Año")));
  }

  void generaArchivoReachesTheProgramAsWindows1252() {
    PromptScript prompts;  // the declaration writer's directory dialog: cancelled
    QSignalSpy spy(Frame().view()->external(), &CExternalObject::generaArchivo);
    RunJs(
        "window.external.GeneraArchivo('<X>D\\u00eda</X>', '\\u00d1', '<b>\\u20ac</b>', "
        "'12345678')");
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 10000);
    const auto args = spy.takeFirst();
    QCOMPARE(args.at(0).toByteArray(), QByteArray("<X>D\xED"
                                                  "a</X>"));
    QCOMPARE(args.at(1).toByteArray(), QByteArray("\xD1"));
    QCOMPARE(args.at(2).toByteArray(), QByteArray("<b>\x80</b>"));
    QCOMPARE(args.at(3).toByteArray(), QByteArray("12345678"));
    // The call went on to the declaration writer, which asked for a directory.
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::DestinationDirectory), 1, 5000);
  }

  // Nothing is ever stored as "?": a declaration that Windows-1252 cannot
  // hold whole is refused with a message; the page copy keeps any character.
  void generaArchivoRefusesCharactersOutsideWindows1252() {
    PromptScript prompts;  // the declaration writer's directory dialog: cancelled
    QSignalSpy spy(Frame().view()->external(), &CExternalObject::generaArchivo);
    for (const char* call : {"GeneraArchivo('<N>\\u0141\\u00f3d\\u017a</N>', '1', '', '19')",
                             "GeneraArchivo('<N/>', '1', '', '\\u4e2d')",
                             "GeneraArchivo('<N/>', '\\ud800', '', '19')"}) {
      prompts.asked.clear();
      RunJs(QStringLiteral("window.external.%1").arg(QLatin1String(call)));
      QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 10000);
      QCOMPARE(prompts.asked.at(0).text,
               QStringLiteral("Error:\nLa declaración contiene caracteres que no pueden guardarse "
                              "en el archivo. No se ha generado el archivo de la declaración."));
      QCOMPARE(prompts.asked.at(0).caption, QStringLiteral("Formulario RTQ-7301"));
    }
    QCOMPARE(prompts.CountOf(PromptKind::DestinationDirectory), 0);
    QCOMPARE(spy.count(), 0);

    RunJs(
        "window.external.GeneraArchivo('<N>Jose\\u0301</N>', 7301, "
        "'<b>\\u0141\\u00e9\\udc00</b>', null)");
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 10000);
    const auto args = spy.takeFirst();
    QCOMPARE(args.at(0).toByteArray(), QByteArray("<N>Jos\xE9</N>"));  // the accent composed
    QCOMPARE(args.at(1).toByteArray(), QByteArray("7301"));
    QCOMPARE(args.at(2).toByteArray(), QByteArray("<b>&#321;\xE9&#65533;</b>"));
    QCOMPARE(args.at(3).toByteArray(), QByteArray());
  }

  void callMadeWhileThePageIsStillLoadingIsNotLost() {
    PromptScript prompts;  // the declaration writer's directory dialog: cancelled
    QSignalSpy spy(Frame().view()->external(), &CExternalObject::generaArchivo);
    // The inline script runs while the document is being parsed, before the
    // channel to the program can have connected.
    Frame().view()->ShowGeneratedPage(GeneratedPage(
        "<script>window.external.GeneraArchivo('temprano', '1', '2', '3');</script>"));
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 15000);
    QCOMPARE(spy.takeFirst().at(0).toByteArray(), QByteArray("temprano"));
  }

  void generatedPageShowsWithItsScriptsAndStyle() {
    Frame().view()->ShowGeneratedPage(GeneratedPage());
    QVERIFY(WaitForPage([](const QString& url) { return url.contains("/generated/"); }));
    QVERIFY(WaitForJs("document.body.getAttribute('data-loaded') === 'si'"));
    QCOMPARE(RunJs("document.title").toString(), QStringLiteral("inline function"));
    QCOMPARE(RunJs("document.getElementById('celda').innerText").toString(),
             QStringLiteral("Día Ñandú"));
    QCOMPARE(RunJs("getComputedStyle(document.getElementById('celda')).backgroundColor").toString(),
             QStringLiteral("rgb(163, 201, 255)"));
  }

  void pageOfFiveHundredAnnexRowsShows() {
    std::string rows;
    for (int i = 1; i <= 500; ++i) {
      rows += "<tr><td>" + std::to_string(i) + "</td>";
      for (int k = 1; k <= 3; ++k) {
        rows += "<td><input type='text' name='f1" + std::to_string(i) + "c" + std::to_string(k) +
                "' value='" + std::string(500, 'x') + "'></td>";
      }
      rows += "</tr>\n";
    }
    const std::string page = GeneratedPage("<table id='anexo'>" + rows + "</table>");
    QVERIFY(page.size() > 750 * 1024);
    Frame().view()->ShowGeneratedPage(page);
    QVERIFY(WaitForPage([](const QString& url) { return url.contains("/generated/"); }, 60000));
    QCOMPARE(RunJs("document.getElementById('anexo').rows.length").toInt(), 500);
    QCOMPARE(RunJs("document.getElementsByName('f1500c3').length").toInt(), 1);
  }

  void nuevoBringsTheBlankFormBack() {
    Frame().view()->ShowGeneratedPage(GeneratedPage());
    QVERIFY(WaitForPage([](const QString& url) { return url.contains("/generated/"); }));
    RunJs("document.body.setAttribute('data-stale', '1')");
    Frame().action(Command::Nuevo)->trigger();
    QVERIFY(WaitForBlankPage());
    QCOMPARE(RunJs("document.body.hasAttribute('data-stale')").toBool(), false);
    QCOMPARE(RunJs("typeof document.C.c2").toString(), QStringLiteral("object"));
  }

  void pageCannotLeaveTheProgramsOwnPages() {
    RunJs("location.href = 'http://127.0.0.1:9/fuera'");
    QTest::qWait(1000);
    QCOMPARE(Page().url().toString(), QStringLiteral("res://formulario7301.exe/131"));
    QCOMPARE(RunJs("window.open('res://formulario7301.exe/131') === null").toBool(), true);
    // Only the program's own host is served.
    CResSchemeHandler handler;
    QVERIFY(handler.Find(QUrl("res://formulario7301.exe/#23/#132")).has_value());
    QVERIFY(!handler.Find(QUrl("res://otro.exe/#23/#132")).has_value());
    QVERIFY(!handler.Find(QUrl("res://formulario7301.exe/#23/#137")).has_value());
    QVERIFY(!handler.Find(QUrl("res://formulario7301.exe/generated/1")).has_value());
  }

  void pageAlertsGoThroughTheMessageLayer() {
    PromptScript prompts;
    RunJs("alert('Error:\\nel NIT no es v\\u00e1lido'); 1");
    QCOMPARE(prompts.TextsOf(PromptKind::ScriptAlert),
             QStringList{QStringLiteral("Error:\nel NIT no es válido")});
  }

  void ctrlPPrintsThePageOnScreen() {
    PromptScript prompts;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("formulario.pdf");
    prompts.Answer(PromptKind::Printer, pdf);
    QSignalSpy finished(Frame().view(), &CFormularioView::printFinished);
    QWidget* target = Frame().view()->browser()->focusProxy();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
    QCOMPARE(finished.takeFirst().at(0).toBool(), true);
    // The same document as Exportar a PDF, under the name it proposes: text
    // with its head and page numbers, no pictures.
    const QStringList proposed = prompts.TextsOf(PromptKind::Printer);
    QCOMPARE(proposed.size(), 1);
    QVERIFY2(proposed[0].endsWith("/Formulario7301.pdf"), qPrintable(proposed[0]));
    const QStringList pages = PdfPageTexts(pdf);
    QVERIFY(!pages.isEmpty());
    QVERIFY2(pages[0].contains(QStringLiteral("Formulario RTQ-7301 \u00B7 NIT")),
             qPrintable(pages[0].left(300)));
    QVERIFY(pages.last().contains(QStringLiteral("P\u00E1gina %1 de %1").arg(pages.size())));
    QCOMPARE(PdfImageCount(pdf), 0);
  }

  void cancelledPrintDialogPrintsNothing() {
    PromptScript prompts;  // no answer: the dialog is cancelled
    QSignalSpy finished(Frame().view(), &CFormularioView::printFinished);
    Frame().action(Command::Imprimir)->trigger();
    QCOMPARE(prompts.CountOf(PromptKind::Printer), 1);
    QTest::qWait(500);
    QCOMPARE(finished.count(), 0);
  }
};

F7301_APP_TEST(ViewTest);

}  // namespace f7301::test

#include "view_test.moc"
