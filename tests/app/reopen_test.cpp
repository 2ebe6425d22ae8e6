// Reopening declarations written by the program: Consultar shows the stored
// values read-only, Modificar puts them back into the form, and a corrected
// declaration is generated anew with every annex row.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/accelerator_filter.h"
#include "app/external_object.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

struct Generated {
  QString file;
  QByteArray xml;
};

// Validar, answering the destination dialog with `dir`; the file written and
// the XML the page handed over.
std::optional<Generated> Generate(const QString& dir) {
  PromptScript prompts;
  prompts.Answer(PromptKind::DestinationDirectory, dir);
  QSignalSpy handed(Frame().view()->external(), &CExternalObject::generaArchivo);
  PressValidar();
  if (!QTest::qWaitFor([&] { return prompts.CountOf(PromptKind::ViewMessage) == 1; }, 60000)) {
    return std::nullopt;
  }
  if (handed.count() != 1) return std::nullopt;
  const QString file =
      QDir(dir).filePath("19/7301/RTQ-" + QString::fromLatin1(handed[0][1].toByteArray()));
  return Generated{file, handed[0][0].toByteArray()};
}

// Runs Consultar or Modificar on `file` and waits for the page it shows.
bool Reopen(Command command, const QString& file) {
  PromptScript prompts;
  prompts.Answer(PromptKind::DeclarationFile, file);
  RunJs("window.__anterior = true");
  Frame().action(command)->trigger();
  return prompts.CountOf(PromptKind::DeclarationFile) == 1 &&
         WaitForPage([](const QString& url) { return url.contains("/generated/"); }, 60000) &&
         WaitForJs("window.__anterior === undefined && document.readyState === 'complete'",
                   60000) &&
         prompts.CountOf(PromptKind::AppMessage) == 0;
}

// Boxes 118.. of the annex that a declaration XML carries.
int AnnexBoxes(const QByteArray& xml) {
  static const QRegularExpression annexBox(QStringLiteral("<CASILLA ID=\"(\\d+)\">"));
  int count = 0;
  for (auto it = annexBox.globalMatch(QString::fromLatin1(xml)); it.hasNext();) {
    const int id = it.next().captured(1).toInt();
    if (id >= 118 && id <= 1617) ++count;
  }
  return count;
}

}  // namespace

class ReopenTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  void consultarAndModificarReopenACorrectedDeclaration() {
    QTemporaryDir dir;
    QVERIFY(Fill(DieselDeclaration(20)));
    const auto first = Generate(dir.path());
    QVERIFY(first);
    QCOMPARE(AnnexBoxes(first->xml), 60);

    // Consultar: the values as text, no fields.
    QVERIFY(Reopen(Command::Consultar, first->file));
    const QString shown = RunJs("document.body.innerText").toString();
    QVERIFY(shown.contains(QStringLiteral("ESTACIÓN ÑANDÚ")));
    QVERIFY(shown.contains(QStringLiteral("30.00")));
    QCOMPARE(RunJs("document.querySelectorAll('input[type=text]:not([readonly])').length").toInt(),
             0);

    // Modificar: the form again, holding the stored values.
    QVERIFY(Reopen(Command::Modificar, first->file));
    QCOMPARE(RunJs("document.C.c3.value").toString(), QStringLiteral("ESTACIÓN ÑANDÚ"));
    QCOMPARE(RunJs("document.C.f120c2.value").toString(), QStringLiteral("1.50"));
    QCOMPARE(RunJs("document.C.f120c3.value").toString(), QStringLiteral("DIESEL"));

    // Correct one box and generate again: a new declaration (with a new form
    // number) holding the correction and every annex row.
    QVERIFY(Enter("c3", QStringLiteral("Estación Corregida")));
    const auto second = Generate(dir.path());
    QVERIFY(second);
    QVERIFY(second->file != first->file);
    QCOMPARE(Unseal(second->file), std::optional<QByteArray>(second->xml));
    QCOMPARE(Unseal(first->file), std::optional<QByteArray>(first->xml));
    QVERIFY(second->xml.contains("ESTACI\xD3N CORREGIDA"));
    QCOMPARE(AnnexBoxes(second->xml), 60);
    // Apart from the name, only the form number and (if the day changed) the
    // presentation date differ.
    QByteArray expected = first->xml;
    expected.replace(
        "ESTACI\xD3N \xD1"
        "AND\xDA",
        "ESTACI\xD3N CORREGIDA");
    static const QRegularExpression varying(
        QStringLiteral("<FORMULARIO NUMERO=\"[^\"]*\">|<CASILLA ID=\"FECPRE\">[^<]*<"));
    QCOMPARE(QString::fromLatin1(second->xml).remove(varying),
             QString::fromLatin1(expected).remove(varying));
  }

  void fiveHundredRowDeclarationOpensWithBothCommands() {
    QTemporaryDir dir;
    QVERIFY(Fill(DieselDeclaration(500)));
    const auto generated = Generate(dir.path());
    QVERIFY(generated);
    QCOMPARE(AnnexBoxes(generated->xml), 1500);

    QVERIFY(Reopen(Command::Consultar, generated->file));
    QVERIFY(RunJs("document.body.innerText").toString().contains(QStringLiteral("750.00")));

    QVERIFY(Reopen(Command::Modificar, generated->file));
    QCOMPARE(RunJs("document.C.f1500c2.value").toString(), QStringLiteral("1.50"));
    QCOMPARE(RunJs("document.C.f1500c1.value").toString(), QStringLiteral("19"));
  }

  void ctrlCInTheFormAsksForTheFileAndACancelChangesNothing() {
    PromptScript prompts;  // the file dialog is cancelled
    Frame().activateWindow();
    Frame().view()->browser()->focusProxy()->setFocus();
    RunJs("document.C.c3.focus(); 1");
    QTest::keyClick(Frame().view()->browser()->focusProxy(), Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::DeclarationFile), 1, 10000);
    QTest::qWait(300);
    QCOMPARE(prompts.asked.size(), size_t(1));
    QCOMPARE(Page().url().toString(), QStringLiteral("res://formulario7301.exe/131"));
  }

  void aFileThatIsNotADeclarationIsRefused() {
    PromptScript prompts;
    QTemporaryDir dir;
    QFile plain(dir.filePath("no-sellado.xml"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("<FORMULARIO></FORMULARIO>");
    plain.close();
    prompts.Answer(PromptKind::DeclarationFile, plain.fileName());
    Frame().action(Command::Modificar)->trigger();
    QCOMPARE(prompts.TextsOf(PromptKind::AppMessage),
             QStringList{QStringLiteral(
                 "El archivo que intenta modificar es invalido, no pertenece a una declaración")});
    QCOMPARE(Page().url().toString(), QStringLiteral("res://formulario7301.exe/131"));
  }
};

F7301_APP_TEST(ReopenTest);

}  // namespace f7301::test

#include "reopen_test.moc"
