// Nothing typed or imported is lost while a message or dialog holds the
// page: a program killed with SIGKILL past the draft's delay, or ended with
// SIGTERM (a logout) while the box is open, leaves a draft with what the
// user typed or imported. SIGTERM ends it at once, the box still open. Each
// program is this test runner started as a child, running DraftHeldChild in
// the scene its parent names.
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <optional>

#include "app/annex_transfer.h"
#include "app/draft_keeper.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "draft/draft_schema.h"
#include "tests/app/app_test_support.h"
#include "tests/app/draft_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

constexpr const char* kSceneVariable = "F7301_TEST_HELD_SCENE";
constexpr const char* kHeld = "PAGINA-RETENIDA";

bool IsChild() { return !qEnvironmentVariableIsEmpty(kSceneVariable); }

// Holds the program in a real modal dialog, as the user reading a message
// does, once a prompt of `kind` comes; others are answered "cancelled", and
// said.
void HoldAt(PromptKind kind) {
  SetPromptAnswerer([kind](const PromptRequest& request) -> std::optional<QString> {
    if (request.kind != kind) {
      std::printf("AVISO: %s\n", qPrintable(request.text));
      return std::nullopt;
    }
    std::printf("%s\n", kHeld);
    std::fflush(stdout);
    QDialog box(&Frame());
    box.setModal(true);
    box.exec();
    return std::nullopt;
  });
}

// Types `text` into `field` one key at a time, with the events of typing,
// without leaving it.
bool TypeKeys(const char* field, const QString& text) {
  for (const QChar key : text) {
    const QString js = QStringLiteral(
                           "(function (f) { f.focus(); f.value += %1;"
                           "  f.dispatchEvent(new Event('input', {bubbles: true})); return true; })"
                           "(document.C.%2)")
                           .arg(QStringLiteral("'%1'").arg(key), QString::fromLatin1(field));
    if (!RunJs(js).toBool()) return false;
  }
  return true;
}

// The values of the one draft in `dataHome`, by field.
std::optional<PageRecord> OnlyDraft(const QString& dataHome) {
  const QDir folder(QDir(dataHome).filePath(QStringLiteral("Formulario7301")));
  const QStringList files = folder.entryList({QStringLiteral("borrador-*.json")}, QDir::Files);
  if (files.size() != 1) return std::nullopt;
  QFile file(folder.filePath(files[0]));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const DraftReading reading = ParseDraft(file.readAll().toStdString());
  if (reading.problem != DraftProblem::kNone) return std::nullopt;
  return CheckPageRecord(reading.draft.page);
}

QString ValueOf(const PageRecord& record, const char* field) {
  for (const auto& [name, value] : record.fields) {
    if (name == field) return QString::fromStdString(value);
  }
  return QStringLiteral("(ninguno)");
}

}  // namespace

class DraftHeldPageTest : public QObject {
  Q_OBJECT

 private slots:
  void whatWasTypedOrImportedIsKeptWhateverHoldsThePage() {
    if (IsChild()) QSKIP("started as a child");
    const struct {
      const char* scene;
      bool logout;  // SIGTERM while held; SIGKILL past the draft's delay otherwise
      const char* field;
      const char* value;
    } cases[] = {
        {"importado", true, "f12c3", "NAFTA"},
        {"destino", false, "c3", "ESTACIÓN ÑANDÚ DEL SUR"},
        {"nit", false, "c2", "1234"},
        {"nit", true, "c2", "1234"},
    };
    for (const auto& c : cases) {
      const QString what = QStringLiteral("%1, %2").arg(c.scene, c.logout ? "SIGTERM" : "SIGKILL");
      QTemporaryDir dataHome;
      QProcess child;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert(QString::fromLatin1(kDataHomeVariable), dataHome.path());
      env.insert(QString::fromLatin1(kSceneVariable), QString::fromLatin1(c.scene));
      child.setProcessEnvironment(env);
      child.setProcessChannelMode(QProcess::MergedChannels);
      child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("DraftHeldChild")});
      QByteArray said;
      QTest::qWaitFor(
          [&] {
            said += child.readAll();
            return said.contains(kHeld) || child.state() == QProcess::NotRunning;
          },
          240000);
      QVERIFY2(said.contains(kHeld), qPrintable(what + "\n" + said));
      QElapsedTimer ending;
      if (c.logout) {
        QTest::qWait(100);
        ending.start();
        child.terminate();
        QVERIFY2(child.waitForFinished(30000), qPrintable(what));
        // The old way waited 5 s for the page, held by the box, to answer.
        QVERIFY2(ending.elapsed() < 4000,
                 qPrintable(what + QStringLiteral(": %1 ms").arg(ending.elapsed())));
        std::printf("%s: ended %lld ms after SIGTERM\n", qPrintable(what),
                    static_cast<long long>(ending.elapsed()));
      } else {
        QTest::qWait(CDraftKeeper::kDelayMs + 1500);
        child.kill();
        QVERIFY(child.waitForFinished(30000));
      }
      QCOMPARE(child.exitStatus(), QProcess::CrashExit);
      const std::optional<PageRecord> draft = OnlyDraft(dataHome.path());
      QVERIFY2(draft.has_value(), qPrintable(what));
      QCOMPARE(ValueOf(*draft, c.field), QString::fromUtf8(c.value));
    }
  }
};

// Brings the page to the scene named, then is held there by a modal box.
class DraftHeldChild : public QObject {
  Q_OBJECT

 private slots:
  void holdThePage() {
    if (!IsChild()) QSKIP("run by DraftHeldPageTest only");
    QVERIFY(WaitForBlankPage());
    const QByteArray scene = qgetenv(kSceneVariable);
    QTemporaryDir folder;  // the annex file, read after this function has run on
    if (scene == "nit") {
      // Leaving the NIT opens the check-digit message at once.
      HoldAt(PromptKind::ScriptAlert);
      QVERIFY(TypeKeys("c2", QStringLiteral("1234")));
      RunJs("setTimeout(function () { document.C.c2.blur(); }, 0); true");
    } else if (scene == "destino") {
      HoldAt(PromptKind::DestinationDirectory);
      QVERIFY(FillTyped(DieselDeclaration(1)));
      QVERIFY(TypeKeys("c3", QStringLiteral(" DEL SUR")));
      RunJs("setTimeout(function () { document.C.validar.click(); }, 0); true");
    } else if (scene == "importado") {
      QTRY_VERIFY_WITH_TIMEOUT(Frame().view()->annexTransfer()->available(), 60000);
      const QString path = folder.filePath(QStringLiteral("anexo.csv"));
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("NIT;Galones;Producto\n19;1.50;DIESEL\n19;2;NAFTA\n");
      file.close();
      HoldAt(PromptKind::ViewMessage);
      Frame().view()->annexTransfer()->ImportFile(path);
    }
    QTest::qWait(600000);
  }
};

F7301_APP_TEST(DraftHeldPageTest);
F7301_APP_TEST(DraftHeldChild);

}  // namespace f7301::test

#include "draft_held_page_test.moc"
