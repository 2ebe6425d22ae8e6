// A form being filled survives a hard kill of the program: one program fills
// identity, period, grid boxes and 20 annex rows (one left incomplete, one
// value refused beside it) and is killed with SIGKILL once its draft is kept;
// a second program, started afresh on the same folder, asks about the draft,
// puts every value back on "Sí", is completed, and "Validar" writes the
// declaration and ends the draft. And a name box typed into and never left
// is back whole after a SIGKILL past the draft's delay, and after a SIGTERM
// 100 ms after its last key. Every program is this test runner started as a
// child, running one of the child classes below.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstdio>

#include "app/draft_keeper.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "tests/app/app_test_support.h"
#include "tests/app/draft_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

const char* const kReady = "BORRADOR-LISTO";

bool IsChild() { return !qEnvironmentVariableIsEmpty(kDataHomeVariable); }

// Rows 1 to 18 complete; row 19 holds only its NIT; row 20's gallons are
// refused (row 19 is incomplete) and kept.
FormEntries KilledForm() {
  FormEntries entries = DieselDeclaration(18);
  entries.boxes[6] = QStringLiteral("100");
  entries.boxes[7] = QStringLiteral("50");
  entries.boxes[10] = QStringLiteral("20");
  entries.rows.append({QStringLiteral("19"), {}, {}});
  entries.rows.append({{}, QStringLiteral("1.5"), {}});
  return entries;
}

// Typed into the name box one key at a time, for longer than the draft's
// delay, and never left.
const char* const kTypedJs = "'Estaci\\u00f3n \\u00d1and\\u00fa del Sur 19'";
const char* const kTypedSaid = "ESCRITO:";
const char* const kRecoveredSaid = "RECUPERADO:";

// What follows `label` in `said`, up to the end of its line.
QByteArray SaidAfter(const QByteArray& said, const char* label) {
  const qsizetype at = said.indexOf(label);
  if (at < 0) return {};
  const qsizetype from = at + qstrlen(label);
  return said.mid(from, said.indexOf('\n', from) - from).trimmed();
}

QProcess* StartChild(const QString& testClass, const QString& dataHome, const QString& answer) {
  auto* child = new QProcess;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(kDataHomeVariable), dataHome);
  if (!answer.isEmpty()) env.insert(QString::fromLatin1(kStartAnswerVariable), answer);
  child->setProcessEnvironment(env);
  child->setProcessChannelMode(QProcess::MergedChannels);
  child->start(QCoreApplication::applicationFilePath(), {testClass});
  return child;
}

}  // namespace

class DraftKillTest : public QObject {
  Q_OBJECT

 private slots:
  void aKilledProgramsFormIsOfferedBackWhole() {
    if (IsChild()) QSKIP("started as a child");
    QTemporaryDir dataHome;
    std::unique_ptr<QProcess> filler(StartChild("DraftFillChild", dataHome.path(), {}));
    QByteArray said;
    QVERIFY(QTest::qWaitFor(
        [&] {
          said += filler->readAll();
          return said.contains(kReady) || filler->state() == QProcess::NotRunning;
        },
        240000));
    QVERIFY2(said.contains(kReady), said.constData());
    filler->kill();  // SIGKILL: no closing, no flushing
    QVERIFY(filler->waitForFinished(30000));
    QCOMPARE(filler->exitStatus(), QProcess::CrashExit);

    const QDir drafts(dataHome.filePath("Formulario7301"));
    QCOMPARE(drafts.entryList({"borrador-*.json"}, QDir::Files).size(), 1);

    std::unique_ptr<QProcess> again(
        StartChild("DraftRecoveryChild", dataHome.path(), QStringLiteral("Sí")));
    QVERIFY(again->waitForFinished(300000));
    const QByteArray output = again->readAll();
    QVERIFY2(again->exitStatus() == QProcess::NormalExit && again->exitCode() == 0,
             output.constData());
    QVERIFY2(output.contains("PASS   : f7301::test::DraftRecoveryChild::theFormIsBackAndCanBeSent"),
             output.constData());
    QCOMPARE(drafts.entryList({"borrador-*"}, QDir::Files), QStringList());
    QCOMPARE(QDir(dataHome.filePath("declaraciones/19/7301")).entryList(QDir::Files).size(), 1);
  }

  // The box being typed in, never left: every character is back after a
  // SIGKILL once the draft's delay has passed, and after a SIGTERM (a logout)
  // 100 ms after the last key.
  void aBoxBeingTypedInIsKeptThroughAKillOrALogout() {
    if (IsChild()) QSKIP("started as a child");
    for (const bool logout : {false, true}) {
      QTemporaryDir dataHome;
      std::unique_ptr<QProcess> typist(StartChild("DraftTypeChild", dataHome.path(), {}));
      QByteArray said;
      QVERIFY(QTest::qWaitFor(
          [&] {
            said += typist->readAll();
            return said.contains(kReady) || typist->state() == QProcess::NotRunning;
          },
          240000));
      QVERIFY2(said.contains(kReady), said.constData());
      if (logout) {
        QTest::qWait(100);
        typist->terminate();
      } else {
        QTest::qWait(CDraftKeeper::kDelayMs + 1500);
        typist->kill();
      }
      QVERIFY(typist->waitForFinished(30000));
      const QByteArray typed = SaidAfter(said, kTypedSaid);
      QVERIFY(!typed.isEmpty());

      std::unique_ptr<QProcess> again(
          StartChild("DraftTypedRecoveryChild", dataHome.path(), QStringLiteral("Sí")));
      QVERIFY(again->waitForFinished(300000));
      const QByteArray output = again->readAll();
      QVERIFY2(again->exitCode() == 0, output.constData());
      QCOMPARE(QUrl::fromPercentEncoding(SaidAfter(output, kRecoveredSaid)),
               QUrl::fromPercentEncoding(typed));
    }
  }
};

// Types into a box without leaving it, says so, and waits to be ended.
class DraftTypeChild : public QObject {
  Q_OBJECT

 private slots:
  void typeWithoutLeaving() {
    if (!IsChild()) QSKIP("run by DraftKillTest only");
    QVERIFY(WaitForBlankPage());
    const int keys = RunJs(QStringLiteral("%1.length").arg(QString::fromLatin1(kTypedJs))).toInt();
    QVERIFY(keys > 20);
    for (int i = 0; i < keys; ++i) {
      QVERIFY(RunJs(QStringLiteral("(function (f, text) { f.focus(); f.value += text[%1];"
                                   "  f.dispatchEvent(new Event('input', {bubbles: true}));"
                                   "  return true; })(document.C.c3, %2)")
                        .arg(i)
                        .arg(QString::fromLatin1(kTypedJs)))
                  .toBool());
      QTest::qWait(150);
    }
    const QString shown = RunJs("encodeURIComponent(document.C.c3.value)").toString();
    std::printf("%s%s\n%s\n", kTypedSaid, qPrintable(shown), kReady);
    std::fflush(stdout);
    QTest::qWait(600000);
  }
};

// Started with the question answered "Sí": says what the name box holds.
class DraftTypedRecoveryChild : public QObject {
  Q_OBJECT

 private slots:
  void theTypedBoxIsBack() {
    if (!IsChild() || StartPrompts() == nullptr) QSKIP("run by DraftKillTest only");
    QCOMPARE(StartPrompts()->CountOf(PromptKind::Question), 1);
    QVERIFY(WaitForJs("!!document.C && document.C.c3.value !== ''", 60000));
    const QString shown = RunJs("encodeURIComponent(document.C.c3.value)").toString();
    std::printf("%s%s\n", kRecoveredSaid, qPrintable(shown));
    std::fflush(stdout);
  }
};

// The first program: fills the form, waits for its draft and says so, then
// waits to be killed.
class DraftFillChild : public QObject {
  Q_OBJECT

 private slots:
  void fillAndWaitToBeKilled() {
    if (!IsChild()) QSKIP("run by DraftKillTest only");
    QVERIFY(WaitForBlankPage());
    PromptScript prompts;
    QVERIFY(FillTyped(KilledForm()));
    QCOMPARE(prompts.TextsOf(PromptKind::ScriptAlert),
             QStringList{QStringLiteral("Usted no ha ingresado la cantidad de galones exentos, "
                                        "por favor ingrese la información que se indica.")});
    QCOMPARE(RunJs("document.C.f120c2.value").toString(), QStringLiteral("1.5"));
    const QString file = QFileInfo(Frame().view()->drafts().currentDraftFile()).fileName();
    QVERIFY(QTest::qWaitFor(
        [&] {
          const auto draft = ReadDraft(file);
          return draft && DraftValue(*draft, "f120c2") == "1.5";
        },
        20000));
    std::printf("%s\n", kReady);
    std::fflush(stdout);
    QTest::qWait(600000);
  }
};

// The second program: started with the question answered "Sí".
class DraftRecoveryChild : public QObject {
  Q_OBJECT

 private slots:
  void theFormIsBackAndCanBeSent() {
    if (!IsChild() || StartPrompts() == nullptr) QSKIP("run by DraftKillTest only");
    const QStringList questions = StartPrompts()->TextsOf(PromptKind::Question);
    QCOMPARE(questions.size(), 1);
    QCOMPARE(StartPrompts()->asked[0].caption, QStringLiteral("Formulario RTQ-7301"));
    QVERIFY(questions[0].contains(QStringLiteral("NIT: 19")));
    QVERIFY(questions[0].contains(QStringLiteral("Nombre o razón social: ESTACIÓN ÑANDÚ")));
    QVERIFY(questions[0].contains(QStringLiteral("Renglones del anexo llenos: 20")));

    QVERIFY(
        WaitForJs("!!document.C && document.C.f120c2 && document.C.f120c2.value === '1.5'", 60000));
    const FormEntries typed = KilledForm();
    QCOMPARE(RunJs("document.C.c2.value").toString(), QStringLiteral("19"));
    QCOMPARE(RunJs("document.C.c3.value").toString(), QStringLiteral("ESTACIÓN ÑANDÚ"));
    QCOMPARE(RunJs("document.C.mes_ini.value + '/' + document.C.anio_ini.value").toString(),
             QStringLiteral("01/%1").arg(QDate::currentDate().year()));
    for (auto it = typed.boxes.begin(); it != typed.boxes.end(); ++it) {
      QCOMPARE(RunJs(QStringLiteral("document.C.c%1.value").arg(it.key())).toString(),
               QString::number(it.value().toDouble(), 'f', 2));
    }
    for (int row = 1; row <= 18; ++row) {
      QCOMPARE(RunJs(QStringLiteral("['c1','c2','c3'].map(c => document.C['f1%1' + c].value)"
                                    ".join('|')")
                         .arg(row))
                   .toString(),
               QStringLiteral("19|1.50|DIESEL"));
    }
    QCOMPARE(RunJs("[document.C.f119c1.value, document.C.f119c2.value, document.C.f119c3.value,"
                   " document.C.f120c1.value, document.C.f120c2.value, document.C.f120c3.value]"
                   ".join('|')")
                 .toString(),
             QStringLiteral("19||||1.5|"));
    // Totals computed again from the values put back.
    QCOMPARE(RunJs("document.C.c13.value").toString(), QStringLiteral("130.00"));
    QCOMPARE(RunJs("document.C.c110.value").toString(), QStringLiteral("100.00"));
    QCOMPARE(RunJs("document.C.c1618.value").toString(), QStringLiteral("27.00"));
    QCOMPARE(RunJs("document.C.trenglon1.value").toString(), QStringLiteral("20"));

    // Completed and sent: the declaration is written and the draft is gone.
    QVERIFY(Type("f119c2", "1.5"));
    QVERIFY(Type("f119c3", "DIESEL"));
    QVERIFY(Type("f120c1", "19"));
    QVERIFY(Type("f120c3", "DIESEL"));
    QVERIFY(Type("c36", "30"));
    QCOMPARE(RunJs("document.C.c1618.value").toString(), QStringLiteral("30.00"));
    const QString destination =
        QDir(qEnvironmentVariable(kDataHomeVariable)).filePath("declaraciones");
    QVERIFY(QDir().mkpath(destination));
    PromptScript prompts;
    prompts.Answer(PromptKind::DestinationDirectory, destination);
    PressValidar();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 1, 60000);
    QVERIFY2(prompts.TextsOf(PromptKind::ScriptAlert).isEmpty(),
             qPrintable(prompts.TextsOf(PromptKind::ScriptAlert).join('\n')));
    QTRY_COMPARE_WITH_TIMEOUT(DraftFiles(), QStringList(), 10000);
  }
};

F7301_APP_TEST(DraftKillTest);
F7301_APP_TEST(DraftFillChild);
F7301_APP_TEST(DraftRecoveryChild);
F7301_APP_TEST(DraftTypeChild);
F7301_APP_TEST(DraftTypedRecoveryChild);

}  // namespace f7301::test

#include "draft_kill_test.moc"
