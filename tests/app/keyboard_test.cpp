// The keyboard alone, through the real window: after start-up the first
// keys go into the NIT box; Tab walks the form in reading order, Enter adds
// annex rows, the arrows choose products, Space presses "Validar" up to the
// sealed file, and Alt+A opens the Archivo menu. Every way a form goes on
// screen leaves the keyboard in it, and another window the user is in keeps
// its keyboard.
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <algorithm>
#include <functional>

#include "app/accelerator_filter.h"
#include "app/annex_transfer.h"
#include "app/draft_keeper.h"
#include "app/external_object.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/page_focus.h"
#include "draft/draft_store.h"
#include "formpage/field_model.h"
#include "tests/app/app_test_support.h"
#include "tests/app/draft_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

QWidget* BrowserWidget() { return Frame().view()->browser()->focusProxy(); }

// Where the user's keys go: the application's focus widget, as for a person.
QWidget* Keys() { return QApplication::focusWidget(); }

// The name of the page's focused element; "" for the page itself.
QString Focused() {
  return RunJs(
             "document.activeElement && document.activeElement != document.body ?"
             " document.activeElement.name || document.activeElement.id : ''")
      .toString();
}

bool WaitForFocused(const QString& name) {
  return QTest::qWaitFor([&] { return Focused() == name; }, 10000);
}

bool WaitForValue(const QString& name, const QString& value) {
  return WaitForJs(QStringLiteral("document.C.elements['%1'].value == '%2'").arg(name, value));
}

// The fields Tab reaches on a blank form, in order: identity, period, the
// grid's entry boxes row by row, the annex, its buttons, the settlement.
QStringList TabOrder(int annexRows) {
  QStringList order = {kNitInput.name, kNameInput.name, "mes_ini", "anio_ini"};
  for (int row = 1; row <= kProductRowCount; ++row) {
    for (int column = 1; column <= kGridColumnCount; ++column) {
      const int box = GridBox(row, column);
      if (!IsComputedBox(box)) order << QString::fromStdString(BoxFieldName(box));
    }
  }
  for (int row = 1; row <= annexRows; ++row) {
    for (int column = 1; column <= kAnnexColumnCount; ++column) {
      order << QString::fromStdString(AnnexFieldName(row, column));
    }
  }
  return order << "renglones1"
               << "botonanexo1"
               << "c1619"
               << "c1620"
               << "validar";
}

// The boxes of a declaration XML (Windows-1252) by number.
QMap<int, QString> BoxesOf(const QByteArray& xml) {
  static const QRegularExpression box(
      QStringLiteral("<CASILLA ID=\"(\\d+)\">(?:<!\\[CDATA\\[)?([^<]*?)(?:\\]\\]>)?</CASILLA>"));
  QMap<int, QString> boxes;
  for (auto it = box.globalMatch(QString::fromLatin1(xml)); it.hasNext();) {
    const auto match = it.next();
    boxes[match.captured(1).toInt()] = match.captured(2);
  }
  return boxes;
}

// Key by key; the letters past ASCII with their Latin-1 key codes, as a
// Spanish keyboard sends them.
void TypeKeys(const QString& text) {
  for (const QChar ch : text) {
    if (ch.unicode() < 0x80) {
      QTest::keyClick(Keys(), ch.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, Keys(), Qt::Key(ch.toUpper().unicode()), QString(ch),
                          Qt::NoModifier);
    }
  }
}

// DIESEL in an annex product list, by the arrow keys from the empty choice:
// one step past it and back.
void ChooseDiesel() {
  const int diesel = 1 + static_cast<int>(std::find(kAnnexProducts.begin(), kAnnexProducts.end(),
                                                    std::string_view("DIESEL")) -
                                          kAnnexProducts.begin());
  for (int i = 0; i <= diesel; ++i) QTest::keyClick(Keys(), Qt::Key_Down);
  QTest::keyClick(Keys(), Qt::Key_Up);
}

// Walks `fields` with Tab from the first, typing the value `typed` holds
// for a field (a product list: DIESEL by the arrows). Stops on the last.
bool TypeAlong(const QStringList& fields, const QMap<QString, QString>& typed) {
  for (int i = 0; i < fields.size(); ++i) {
    const QString& name = fields[i];
    if (!WaitForFocused(name)) {
      qWarning("expected the caret in %s, it is in '%s'", qPrintable(name), qPrintable(Focused()));
      return false;
    }
    if (name.endsWith("c3") && name.startsWith("f1")) {
      ChooseDiesel();
      if (!WaitForValue(name, "DIESEL")) return false;
    } else if (typed.contains(name)) {
      TypeKeys(typed[name]);
      if (!WaitForValue(name, typed[name])) {
        qWarning("%s holds '%s'", qPrintable(name),
                 qPrintable(RunJs("document.C.elements['" + name + "'].value").toString()));
        return false;
      }
    }
    if (i + 1 < fields.size()) QTest::keyClick(Keys(), Qt::Key_Tab);
  }
  return true;
}

// An ended program's draft of a form with `c3` typed, left with the caret in it.
void LeaveDraft(const std::string& program) {
  DraftStore ended(DraftFolder().toStdString(), program);
  QVERIFY(ended.Open());
  Draft draft;
  draft.savedAtMs = QDateTime::currentMSecsSinceEpoch();
  draft.page = R"({"filas":[0,3],"campos":{"c2":"19","c3":"DEJADO"},"foco":"c3"})";
  QVERIFY(ended.Write(1, draft));
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  // First: the form as the program starts.
  void keyboardAloneFillsTheFormFromStartUpToTheDeclarationFile() {
    QVERIFY(WaitForBlankPage());
    PromptScript prompts;
    QTemporaryDir dir;
    prompts.Answer(PromptKind::DestinationDirectory, dir.path());
    QSignalSpy handed(Frame().view()->external(), &CExternalObject::generaArchivo);
    QCOMPARE(Keys(), BrowserWidget());

    // Typed at once, no click: the NIT box has the caret.
    QTest::keyClicks(Keys(), "19");
    QVERIFY(WaitForValue("c2", "19"));
    QTest::keyClick(Keys(), Qt::Key_Tab);

    const QString year = QString::number(QDate::currentDate().year());
    QMap<QString, QString> typed = {{"c3", QStringLiteral("Estación Ñandú")},
                                    {"mes_ini", "1"},
                                    {"anio_ini", year},
                                    {"c36", "6"},  // diesel exempt sales: the four annex rows
                                    {"f11c1", "19"},
                                    {"f11c2", "1.5"},
                                    {"f12c1", "19"},
                                    {"f12c2", "1.5"},
                                    {"f13c1", "19"},
                                    {"f13c2", "1.5"},
                                    {"renglones1", "1"},
                                    {"f14c1", "19"},
                                    {"f14c2", "1.5"}};
    const QStringList order = TabOrder(3);
    QVERIFY(TypeAlong(order.mid(1, order.indexOf("botonanexo1")), typed));

    // Enter on "Agregar renglones" adds the row and keeps the caret there;
    // Shift+Tab goes back into the new row.
    QTest::keyClick(Keys(), Qt::Key_Return);
    QVERIFY(WaitForJs("document.getElementById('cuerpo1').rows.length - 1 == 4"));
    QVERIFY(WaitForFocused("botonanexo1"));
    for (const char* back : {"renglones1", "f14c3", "f14c2", "f14c1"}) {
      QTest::keyClick(Keys(), Qt::Key_Tab, Qt::ShiftModifier);
      QVERIFY2(WaitForFocused(back), back);
    }
    typed.remove("renglones1");  // the page leaves what it holds
    const QStringList rest = TabOrder(4);
    QVERIFY(TypeAlong(rest.mid(rest.indexOf("f14c1")), typed));

    QTest::keyClick(Keys(), Qt::Key_Space);  // on "Validar"
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 30000);
    QVERIFY2(prompts.CountOf(PromptKind::ScriptAlert) == 0,
             qPrintable(prompts.TextsOf(PromptKind::ScriptAlert).join('\n')));
    QCOMPARE(handed.count(), 1);
    const QByteArray xml = handed[0][0].toByteArray();
    const QString file =
        dir.filePath("19/7301/RTQ-" + QString::fromLatin1(handed[0][1].toByteArray()));
    QCOMPARE(Unseal(file), std::optional<QByteArray>(xml));
    const QString text = QString::fromLatin1(xml);
    for (const QString& part : {QStringLiteral("<NIT>19</NIT>"),
                                QStringLiteral("<NOMBRE><![CDATA[ESTACIÓN ÑANDÚ]]></NOMBRE>"),
                                "<PERIODO_DESDE>" + year + "0101</PERIODO_DESDE>"}) {
      QVERIFY2(text.contains(part), qPrintable(part));
    }
    const QMap<int, QString> boxes = BoxesOf(xml);
    QCOMPARE(boxes.value(36), QStringLiteral("6.00"));
    for (int row = 1; row <= 4; ++row) {
      const QStringList cells = {boxes.value(AnnexBoxId(row, 1)), boxes.value(AnnexBoxId(row, 2)),
                                 boxes.value(AnnexBoxId(row, 3))};
      QCOMPARE(cells, QStringList({"19", "1.50", "DIESEL"}));
    }
    // Alt+A, from the page, opens Archivo.
    QTest::keyClick(Keys(), Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(QApplication::activePopupWidget(), Frame().menuBar()->actions()[0]->menu());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
  }

  // Each way a form goes on screen, the caret placed elsewhere before it.
  void everyFormOnScreenHasTheKeyboard() {
    // The offscreen platform leaves a closed menu as its active window.
    Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Frame()));
    QVERIFY(ReloadBlankForm());
    QTemporaryDir dir;
    QVERIFY(Fill(DieselDeclaration(4)));  // more rows than a blank form has
    QVERIFY(Validate(dir.path()));
    const QString declaration =
        QDir(dir.path() + "/19/7301").entryInfoList(QDir::Files).first().absoluteFilePath();
    const QString csv = dir.filePath("anexo.csv");
    QFile out(csv);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("NIT;Galones;Producto\n19;2,00;DIESEL\n");
    out.close();

    auto reopen = [&](Command command) {
      PromptScript prompts;
      prompts.Answer(PromptKind::DeclarationFile, declaration);
      RunJs("window.__anterior = true");
      Frame().RunCommand(command);
      return WaitForJs("window.__anterior === undefined && document.readyState == 'complete'");
    };
    auto restore = [](bool beforeTheFormLoads) {
      if (!ReloadBlankForm()) return false;
      LeaveDraft(beforeTheFormLoads ? "21.1" : "21.2");
      PromptScript prompts;
      prompts.Answer(PromptKind::Question, QStringLiteral("Sí"));
      QSignalSpy restored(&Frame().view()->drafts(), &CDraftKeeper::draftRestored);
      if (beforeTheFormLoads) Frame().OnFileNew();  // as at start-up: asked while it loads
      Frame().view()->drafts().OfferAbandonedDrafts();
      return restored.wait(20000) && WaitForBlankPage();
    };
    struct Case {
      const char* way;
      std::function<bool()> show;
      QString focused;
    };
    const Case cases[] = {
        {"Nuevo", [] { return ReloadBlankForm(); }, "c2"},
        {"Consultar", [&] { return reopen(Command::Consultar); }, ""},
        {"Modificar", [&] { return reopen(Command::Modificar); }, "c2"},
        {"borrador recuperado", [&] { return restore(false); }, "c3"},
        {"borrador recuperado al cargar", [&] { return restore(true); }, "c3"},
        {"importación",
         [&] {
           PromptScript prompts;
           Frame().view()->annexTransfer()->ImportFile(csv);
           return QTest::qWaitFor([&] { return prompts.CountOf(PromptKind::ViewMessage) == 1; },
                                  20000) &&
                  RunJs("document.C.f11c3.value").toString() == "DIESEL";
         },
         "c2"},
    };
    for (const Case& c : cases) {
      // Elsewhere before: Qt's keyboard on the window, the page's caret in a grid box.
      Frame().setFocus();
      RunJs("document.C && document.C.c7 && document.C.c7.focus(); true");
      QVERIFY2(c.show(), c.way);
      QTRY_VERIFY2(Keys() == BrowserWidget(), c.way);
      QVERIFY2(WaitForFocused(c.focused), qPrintable(QString("%1: '%2'").arg(c.way, Focused())));
      QVERIFY2(RunJs("document.hasFocus()").toBool(), c.way);
    }
  }

  // A window the user is in keeps the keyboard when a form goes on screen,
  // unless the form was asked for from it.
  void anotherWindowKeepsTheKeyboardUnlessTheFormWasAskedForFromIt() {
    QWidget other;
    auto* edit = new QLineEdit(&other);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    edit->setFocus();

    QVERIFY(ReloadBlankForm());
    QTest::qWait(300);
    QCOMPARE(QApplication::activeWindow(), &other);
    QCOMPARE(Keys(), edit);
    // The form is ready for when the user comes back to it.
    QCOMPARE(Frame().focusWidget(), BrowserWidget());
    QVERIFY(WaitForFocused("c2"));

    Frame().view()->pageFocus().ActivateWithNextPage();
    QVERIFY(ReloadBlankForm());
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&Frame()));
    QTRY_COMPARE(Keys(), BrowserWidget());
    QTest::keyClicks(Keys(), "27");
    QVERIFY(WaitForValue("c2", "27"));
  }
};

F7301_APP_TEST(KeyboardTest);

}  // namespace f7301::test

#include "keyboard_test.moc"
