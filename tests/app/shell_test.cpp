// The main window as the user meets it: caption, menus, toolbar, status bar,
// the accelerator keys (also inside a field of the form), the command line
// and the About box.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>

#include "app/accelerator_filter.h"
#include "app/form_zoom.h"
#include "app/formulario_app.h"
#include "app/formulario_doc.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

QStringList ActionTexts(const QList<QAction*>& actions) {
  QStringList texts;
  for (QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

std::optional<Command> AcceleratorOf(int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers);
  return AcceleratorFor(event);
}

QWidget* PageWidget() { return Frame().view()->browser()->focusProxy(); }

// Puts the caret into an empty text field of the page (one without the
// form's own key rules, so that only the program's keys are under test).
bool FocusTestField() {
  Frame().activateWindow();
  PageWidget()->setFocus();
  RunJs(
      "var f = document.getElementById('prueba');"
      "if (!f) { f = document.createElement('input'); f.id = 'prueba';"
      "          document.body.insertBefore(f, document.body.firstChild); }"
      "f.value = ''; f.focus(); 1");
  return WaitForJs("document.activeElement === document.getElementById('prueba')");
}

const char* const kFieldValue = "document.getElementById('prueba').value";

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  void windowStartsMaximisedWithCaptionAndIdleText() {
    QCOMPARE(Frame().windowTitle(), QStringLiteral("Velaro Vedav - Formulario7301"));
    QVERIFY(Frame().windowState() & Qt::WindowMaximized);
    QCOMPARE(Frame().idleText()->text(), QStringLiteral("Preparado"));
    QVERIFY(Frame().statusBar()->isVisible());
    QCOMPARE(Frame().toolBarArea(Frame().toolBar()), Qt::TopToolBarArea);
  }

  void menusHoldTheCommandsInOrder() {
    const auto menus = Frame().menuBar()->actions();
    QCOMPARE(ActionTexts(menus),
             (QStringList{"&Archivo", "&Ver", QStringLiteral("A&cerca de ...")}));
    QCOMPARE(ActionTexts(menus[0]->menu()->actions()),
             (QStringList{"&Nuevo\tCtrl+N", QStringLiteral("Nuevo a &partir de una declaración..."),
                          "&Consultar\tCtrl+C", "&Modificar\tCtrl+M", "&Declaraciones...\tCtrl+D",
                          "-", "Importar &anexo...", "E&xportar anexo...", "-",
                          "&Imprimir...\tCtrl+I", "&Exportar a PDF...", "-", "&Salir"}));
    QCOMPARE(ActionTexts(menus[1]->menu()->actions()),
             (QStringList{"Barra de &herramientas", "Barra de &estado", QStringLiteral("&Revisión"),
                          "-", "&Acercar", "A&lejar", QStringLiteral("&Tamaño normal")}));
    QCOMPARE(ActionTexts(menus[2]->menu()->actions()), QStringList{"&Acerca de Formulario..."});
    // No key is bound through the menu: the accelerator table decides.
    for (QAction* a : menus[0]->menu()->actions()) QVERIFY(a->shortcut().isEmpty());
  }

  void verMenuShowsAndHidesTheBarsWithCheckMarks() {
    QAction* tool = Frame().toolBarAction();
    QAction* status = Frame().statusBarAction();
    QVERIFY(tool->isCheckable() && tool->isChecked());
    QVERIFY(status->isCheckable() && status->isChecked());
    tool->trigger();
    status->trigger();
    QVERIFY(!Frame().toolBar()->isVisible());
    QVERIFY(!Frame().statusBar()->isVisible());
    QVERIFY(!tool->isChecked() && !status->isChecked());
    tool->trigger();
    status->trigger();
    QVERIFY(Frame().toolBar()->isVisible());
    QVERIFY(Frame().statusBar()->isVisible());
  }

  void toolbarButtonsPromptsAndTooltips() {
    QToolBar* bar = Frame().toolBar();
    QCOMPARE(bar->iconSize(), QSize(16, 15));
    QVERIFY(bar->isMovable());
    QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
    QStringList tips;
    for (QAction* a : bar->actions()) {
      tips << (a->isSeparator() ? QStringLiteral("-") : a->toolTip());
      if (!a->isSeparator()) QVERIFY(!a->icon().isNull());
    }
    QCOMPARE(tips, (QStringList{"Nuevo", "Abrir", "Modificar", "Declaraciones", "-", "Imprimir",
                                "Exportar a PDF", "-", QStringLiteral("Revisión"), "-", "Acerca de",
                                "Salir"}));
    QCOMPARE(Frame().action(Command::Consultar)->statusTip(),
             QStringLiteral("Abre un documento ya existente"));
    QCOMPARE(Frame().aboutAction()->statusTip(),
             QStringLiteral("Muestra información del programa, número de versión y copyright"));
    QCOMPARE(Frame().toolBarAction()->statusTip(),
             QStringLiteral("Muestra u oculta la barra de herramientas"));
    // Hovering shows the prompt instead of the idle text.
    QStatusTipEvent tip(Frame().action(Command::Nuevo)->statusTip());
    QApplication::sendEvent(&Frame(), &tip);
    QCOMPARE(Frame().statusBar()->currentMessage(), QStringLiteral("Crea un nuevo documento"));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&Frame(), &leave);
    QVERIFY(Frame().statusBar()->currentMessage().isEmpty());
  }

  void acceleratorTable() {
    QCOMPARE(AcceleratorOf(Qt::Key_C, Qt::ControlModifier), Command::Consultar);
    QCOMPARE(AcceleratorOf(Qt::Key_M, Qt::ControlModifier), Command::Modificar);
    QCOMPARE(AcceleratorOf(Qt::Key_D, Qt::ControlModifier), Command::Declaraciones);
    QCOMPARE(AcceleratorOf(Qt::Key_N, Qt::ControlModifier), Command::Nuevo);
    QCOMPARE(AcceleratorOf(Qt::Key_P, Qt::ControlModifier), Command::Imprimir);
    QCOMPARE(AcceleratorOf(Qt::Key_S, Qt::ControlModifier), Command::Guardar);
    for (auto [key, mods] : std::initializer_list<std::pair<int, Qt::KeyboardModifiers>>{
             {Qt::Key_V, Qt::ControlModifier},
             {Qt::Key_X, Qt::ControlModifier},
             {Qt::Key_Z, Qt::ControlModifier},
             {Qt::Key_E, Qt::ControlModifier},
             {Qt::Key_Backspace, Qt::AltModifier},
             {Qt::Key_Delete, Qt::ShiftModifier},
             {Qt::Key_Insert, Qt::ControlModifier},
             {Qt::Key_Insert, Qt::ShiftModifier},
             {Qt::Key_F6, Qt::NoModifier},
             {Qt::Key_F6, Qt::ShiftModifier}}) {
      QCOMPARE(AcceleratorOf(key, mods), Command::Nothing);
    }
    // Not in the table: the menu's "Ctrl+I", other modifiers, plain typing.
    QCOMPARE(AcceleratorOf(Qt::Key_I, Qt::ControlModifier), std::nullopt);
    QCOMPARE(AcceleratorOf(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier), std::nullopt);
    QCOMPARE(AcceleratorOf(Qt::Key_C, Qt::NoModifier), std::nullopt);
    QCOMPARE(AcceleratorOf(Qt::Key_V, Qt::ShiftModifier), std::nullopt);
    QCOMPARE(AcceleratorOf(Qt::Key_Backspace, Qt::NoModifier), std::nullopt);
    QCOMPARE(AcceleratorOf(Qt::Key_Delete, Qt::NoModifier), std::nullopt);
    QCOMPARE(AcceleratorOf(Qt::Key_C, Qt::ControlModifier | Qt::KeypadModifier),
             Command::Consultar);
  }

  void typingInAFieldReachesThePage() {
    QVERIFY(FocusTestField());
    QTest::keyClicks(PageWidget(), "Dxa");
    QTest::keyClick(PageWidget(), Qt::Key_Left);
    QTest::keyClick(PageWidget(), Qt::Key_Backspace);
    QTest::keyClicks(PageWidget(), "i");
    QTest::keyClick(PageWidget(), Qt::Key_End);
    QTest::keyClicks(PageWidget(), "s 5");
    QVERIFY(WaitForJs(QStringLiteral("%1 === 'Dias 5'").arg(kFieldValue)));
  }

  void ctrlCInAFieldStartsConsultarInsteadOfCopying() {
    PromptScript prompts;
    QSignalSpy consultar(Frame().action(Command::Consultar), &QAction::triggered);
    QVERIFY(FocusTestField());
    QTest::keyClicks(PageWidget(), "99");
    RunJs("document.getElementById('prueba').select(); 1");
    QApplication::clipboard()->setText(QStringLiteral("sin copiar"));
    QTest::keyClick(PageWidget(), Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(consultar.count(), 1, 5000);
    // Consultar's first step: the file dialog (cancelled here).
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::DeclarationFile), 1, 5000);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("sin copiar"));
  }

  void editingAndPaneKeysDoNothingInAField() {
    PromptScript prompts;
    QVERIFY(FocusTestField());
    QTest::keyClicks(PageWidget(), "77");
    QVERIFY(WaitForJs(QStringLiteral("%1 === '77'").arg(kFieldValue)));
    QApplication::clipboard()->setText(QStringLiteral("PEGADO"));
    QTest::keyClick(PageWidget(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(PageWidget(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(PageWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(PageWidget(), Qt::Key_Backspace, Qt::AltModifier);
    RunJs("document.getElementById('prueba').select(); 1");
    QTest::keyClick(PageWidget(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(PageWidget(), Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(PageWidget(), Qt::Key_F6);
    QTest::qWait(300);
    QCOMPARE(RunJs(kFieldValue).toString(), QStringLiteral("77"));
    QCOMPARE(RunJs("document.activeElement.id").toString(), QStringLiteral("prueba"));
    QVERIFY(prompts.asked.empty());
  }

  // Ctrl+V and Shift+Insert are in the table above; Ctrl+Shift+V and the X11
  // middle click paste as well in Chromium. Only the context menu may paste.
  void pasteReachesAFieldOnlyThroughTheContextMenu() {
    QVERIFY(FocusTestField());
    RunJs(
        "window.__botones = [];"
        "document.addEventListener('mousedown', function (e) { __botones.push(e.button); }, "
        "true); 1");
    QApplication::clipboard()->setText(QStringLiteral("PEGADO"));
    if (QApplication::clipboard()->supportsSelection()) {
      QApplication::clipboard()->setText(QStringLiteral("SELECCION"), QClipboard::Selection);
    }
    QTest::keyClick(PageWidget(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    const QPoint field(
        RunJs("document.getElementById('prueba').getBoundingClientRect().x + 5").toInt(),
        RunJs("document.getElementById('prueba').getBoundingClientRect().y + 5").toInt());
    QTest::mouseClick(PageWidget(), Qt::MiddleButton, {}, field);
    // A left click on the same spot reaches the page: the middle one could have.
    QTest::mouseClick(PageWidget(), Qt::LeftButton, {}, field);
    QVERIFY(WaitForJs("__botones.indexOf(0) >= 0"));
    QCOMPARE(RunJs(kFieldValue).toString(), QString());
    QCOMPARE(RunJs("__botones.join()").toString(), QStringLiteral("0"));

    // The context menu's "Pegar".
    Page().triggerAction(QWebEnginePage::Paste);
    QVERIFY(WaitForJs(QStringLiteral("%1 === 'PEGADO'").arg(kFieldValue)));
  }

  // The keys act with the caret in a field and type nothing there; the size
  // is kept for the next run, a Ctrl+wheel zoom too.
  void zoomKeysAndWheelResizeTheFormAndAreKept() {
    QVERIFY(FocusTestField());
    QWebEngineView* view = Frame().view()->browser();
    QTest::keyClick(PageWidget(), Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(PageWidget(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    QTRY_COMPARE(view->zoomFactor(), 1.25);
    for (int i = 0; i < 4; ++i) QTest::keyClick(PageWidget(), Qt::Key_Minus, Qt::ControlModifier);
    QTRY_COMPARE(view->zoomFactor(), 0.8);
    QCOMPARE(QSettings().value("Ver/Zoom").toDouble(), 0.8);
    QTest::keyClick(PageWidget(), Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(view->zoomFactor(), 1.0);
    QCOMPARE(RunJs(kFieldValue).toString(), QString());

    const QPointF at(40, 40);
    QWheelEvent wheel(at, PageWidget()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(PageWidget(), &wheel);
    QTRY_VERIFY(view->zoomFactor() > 1.0);
    QTRY_COMPARE(QSettings().value("Ver/Zoom").toDouble(), view->zoomFactor());
    Frame().zoom().normalSizeAction()->trigger();
    QCOMPARE(QSettings().value("Ver/Zoom").toDouble(), 1.0);
  }

  void ctrlIIsBoundToNothing() {
    PromptScript prompts;
    QSignalSpy print(Frame().action(Command::Imprimir), &QAction::triggered);
    QVERIFY(FocusTestField());
    QTest::keyClick(PageWidget(), Qt::Key_I, Qt::ControlModifier);
    QTest::qWait(300);
    QCOMPARE(print.count(), 0);
    QCOMPARE(prompts.CountOf(PromptKind::Printer), 0);
  }

  void ctrlNInAFieldReloadsTheBlankForm() {
    QVERIFY(FocusTestField());
    QTest::keyClicks(PageWidget(), "55");
    QVERIFY(WaitForJs(QStringLiteral("%1 === '55'").arg(kFieldValue)));
    QTest::keyClick(PageWidget(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(WaitForJs("document.readyState === 'complete' && !document.getElementById('prueba')"));
  }

  void commandLinePathMustOpen() {
    PromptScript prompts;
    QTemporaryDir dir;
    const QString missing = dir.filePath("no-existe");
    QVERIFY(!App().ProcessShellCommand({missing}));
    QCOMPARE(prompts.CountOf(PromptKind::AppMessage), 1);
    QVERIFY(prompts.asked[0].text.contains(missing));
    QCOMPARE(prompts.asked[0].caption, QStringLiteral("Formulario7301"));

    const QString existing = dir.filePath("RTQ-1234");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("cualquier cosa");
    file.close();
    RunJs("window.__anterior = true");
    QVERIFY(App().ProcessShellCommand({existing}));
    QCOMPARE(Frame().windowTitle(), QStringLiteral("RTQ-1234 - Formulario7301"));
    QVERIFY(WaitForBlankPage());
    QVERIFY(WaitForJs("window.__anterior === undefined && typeof document.C.c2 === 'object'"));
    Frame().action(Command::Nuevo)->trigger();
    QCOMPARE(Frame().windowTitle(), QStringLiteral("Velaro Vedav - Formulario7301"));
  }

  void aboutBoxShowsNameAndVersion() {
    QStringList seen;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box) return;
      seen << box->windowTitle();
      for (QLabel* l : box->findChildren<QLabel*>()) seen << l->text();
      for (QPushButton* b : box->findChildren<QPushButton*>()) {
        seen << b->text();
        if (b->text() == QStringLiteral("Aceptar")) b->click();
      }
    });
    QTimer::singleShot(5000, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    Frame().aboutAction()->trigger();
    QVERIFY(seen.contains(QStringLiteral("Acerca de Formulario7301")));
    QVERIFY(seen.contains(QStringLiteral("VelaroLight Formulario7301 Versión 2.2")));
    QVERIFY(seen.contains(QStringLiteral("Aceptar")));
  }

  // Last: closes the window.
  void salirClosesWithoutAsking() {
    PromptScript prompts;
    QVERIFY(FocusTestField());
    QTest::keyClicks(PageWidget(), "1");
    Frame().exitAction()->trigger();
    QVERIFY(!Frame().isVisible());
    QVERIFY(prompts.asked.empty());
  }
};

F7301_APP_TEST(ShellTest);

}  // namespace f7301::test

#include "shell_test.moc"
