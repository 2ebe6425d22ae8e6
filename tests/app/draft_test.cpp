// Kept drafts through the real window: written shortly after each change and
// at once before the page is replaced, private, removed by "Validar", never
// replaced by an untouched form, none for a read-only page; and offered back
// at start-up (one question per draft, newest first, "Sí" puts the form
// back, "No" discards it after a second question, Esc keeps it, damaged
// drafts are set aside with one message, a failed restore loses nothing).
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "app/annex_transfer.h"
#include "app/draft_keeper.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/modal_prompts.h"
#include "draft/draft_store.h"
#include "tests/app/app_test_support.h"
#include "tests/app/draft_test_support.h"
#include "tests/app/form_filling.h"

namespace f7301::test {
namespace {

CDraftKeeper& Drafts() { return Frame().view()->drafts(); }

QFile::Permissions OwnerOnly(QFile::Permissions p) {
  return p & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
              QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
              QFile::ExeOther);
}

// Waits until the draft file `file` exists and `field` holds `value` in it.
bool WaitForDraftValue(const QString& file, const QString& field, const QString& value) {
  return QTest::qWaitFor(
      [&] {
        const auto draft = ReadDraft(file);
        return draft && DraftValue(*draft, field) == value;
      },
      10000);
}

QString CurrentDraftName() { return QFileInfo(Drafts().currentDraftFile()).fileName(); }

// The page's own record of the form on screen.
std::string PageRecord() {
  return RunJs("JSON.stringify(borradorformulario())").toString().toStdString();
}

// Leaves `drafts` in the folder as a program that has ended would.
void LeaveDrafts(const std::string& program, const std::vector<Draft>& drafts) {
  DraftStore ended(DraftFolder().toStdString(), program);
  QVERIFY(ended.Open());
  for (std::size_t i = 0; i < drafts.size(); ++i) {
    QVERIFY(ended.Write(static_cast<int>(i) + 1, drafts[i]));
  }
}

Draft DraftOfPage(std::string page, const QDateTime& when) {
  Draft draft;
  draft.savedAtMs = when.toMSecsSinceEpoch();
  draft.page = std::move(page);
  return draft;
}

// A form typed on a fresh page and taken back as the page records it; the
// page is then replaced by a blank one.
std::string RecordOfTypedForm(const QString& nit, const QString& name) {
  FormEntries entries;
  entries.nit = nit;
  entries.name = name;
  entries.boxes[6] = QStringLiteral("100");
  entries.rows = {{"19", "1.5", "DIESEL"}, {"27", "", ""}};
  if (!FillTyped(entries)) return {};
  std::string record = PageRecord();
  if (!ReloadBlankForm()) return {};
  return record;
}

bool WaitForRestore(QSignalSpy& restored) {
  return QTest::qWaitFor([&] { return restored.count() == 1; }, 20000);
}

}  // namespace

class DraftTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ReloadBlankForm()); }

  void changesAreKeptShortlyInFilesOfTheUsersAlone() {
    QVERIFY(Drafts().isKeeping());
    QVERIFY(Type("c2", "19"));
    QVERIFY(Type("c3", QStringLiteral("Estación Ñandú")));
    const QString file = CurrentDraftName();
    QVERIFY(WaitForDraftValue(file, "c3", QStringLiteral("ESTACIÓN ÑANDÚ")));
    const auto draft = ReadDraft(file);
    QVERIFY(draft);
    QCOMPARE(DraftValue(*draft, "c2"), QStringLiteral("19"));
    QVERIFY(!draft->reopened);
    QVERIFY(qAbs(draft->savedAtMs - QDateTime::currentMSecsSinceEpoch()) < 60000);
    QCOMPARE(OwnerOnly(QFile::permissions(DraftFolder())),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(OwnerOnly(QFile::permissions(QDir(DraftFolder()).filePath(file))),
             QFile::ReadOwner | QFile::WriteOwner);
  }

  // Nuevo by mistake: the typed form's draft is written at once, the value
  // still being typed included, and the untouched blank form that follows
  // neither replaces nor adds a draft.
  void nuevoKeepsTheTypedFormAndAnUntouchedFormKeepsNoDraft() {
    const QStringList before = DraftFiles();
    QVERIFY(Type("c2", "27"));
    QVERIFY(RunJs("document.C.c6.value = '12,5';"
                  "document.C.c6.dispatchEvent(new Event('input', {bubbles: true})); true")
                .toBool());
    const QString typed = CurrentDraftName();
    QVERIFY(ReloadBlankForm());
    const auto draft = ReadDraft(typed);
    QVERIFY(draft);
    QCOMPARE(DraftValue(*draft, "c2"), QStringLiteral("27"));
    QCOMPARE(DraftValue(*draft, "c6"), QStringLiteral("12,5"));

    const QStringList kept = DraftFiles();
    QVERIFY(ReloadBlankForm());
    QTest::qWait(CDraftKeeper::kDelayMs * 2);
    QCOMPARE(DraftFiles(), kept);
    QCOMPARE(ReadDraft(typed)->page, draft->page);
    QCOMPARE(kept.size(), before.size() + 1);
  }

  // Importing nothing is no change: a cancelled import, a refused file and an
  // empty annex's export leave an untouched blank form without a draft.
  void anImportThatAddsNoRowsKeepsNoDraft() {
    const QStringList before = DraftFiles();
    QTemporaryDir dir;
    const QString refused = dir.filePath("anexo.csv");
    QFile file(refused);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("NIT;Galones;Producto\n19;1,00;QUEROSENO LUNAR\n");
    file.close();
    CAnnexTransfer& annex = *Frame().view()->annexTransfer();
    QTRY_VERIFY_WITH_TIMEOUT(annex.available(), 10000);
    PromptScript prompts;  // the file dialog is cancelled: no answer scripted
    annex.Import();
    annex.ImportFile(refused);
    annex.Export();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.CountOf(PromptKind::ViewMessage), 2, 30000);
    QTest::qWait(CDraftKeeper::kDelayMs * 2);
    QCOMPARE(DraftFiles(), before);
  }

  void validarRemovesTheDraftOfItsForm() {
    QTemporaryDir dir;
    QVERIFY(FillTyped(DieselDeclaration(3)));
    const QString file = CurrentDraftName();
    QVERIFY(WaitForDraftValue(file, "f13c3", "DIESEL"));
    QVERIFY(Validate(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(!DraftFiles().contains(file), 10000);
    // A change after that is kept again.
    QVERIFY(Type("c7", "5"));
    QVERIFY(WaitForDraftValue(file, "c7", "5.00"));
  }

  void aReadOnlyPageKeepsNoDraftAndACorrectedOneSaysWhereItCameFrom() {
    QTemporaryDir dir;
    QVERIFY(Fill(DieselDeclaration(2)));
    QVERIFY(Validate(dir.path()));
    const QString declaration =
        QDir(dir.path() + "/19/7301").entryInfoList(QDir::Files).first().absoluteFilePath();

    QVERIFY(Type("c3", "Otro"));  // typed after Validar: kept when Consultar replaces it
    const QString typed = CurrentDraftName();
    {
      PromptScript prompts;
      prompts.Answer(PromptKind::DeclarationFile, declaration);
      Frame().view()->OnFileOpen();
      QVERIFY(WaitForPage([](const QString& url) { return url.contains("/generated/"); }));
    }
    QCOMPARE(DraftValue(*ReadDraft(typed), "c3"), QStringLiteral("OTRO"));
    const QStringList kept = DraftFiles();
    RunJs("document.dispatchEvent(new Event('change')); true");
    QTest::qWait(CDraftKeeper::kDelayMs * 2);
    Drafts().FlushNow();
    QCOMPARE(DraftFiles(), kept);

    {
      PromptScript prompts;
      prompts.Answer(PromptKind::DeclarationFile, declaration);
      RunJs("window.__anterior = true");
      Frame().view()->OnFileUpdate();
      QVERIFY(
          WaitForJs("window.__anterior === undefined && document.readyState === 'complete' &&"
                    " !!document.C"));
    }
    QVERIFY(Type("c6", "1"));
    const QString corrected = CurrentDraftName();
    QVERIFY(corrected != typed);
    QVERIFY(WaitForDraftValue(corrected, "c6", "1.00"));
    const auto draft = ReadDraft(corrected);
    QVERIFY(draft->reopened);
    QCOMPARE(QString::fromStdString(draft->sourceFile), declaration);
    QCOMPARE(DraftValue(*draft, "f12c3"), QStringLiteral("DIESEL"));
  }

  void startUpAsksOnceAndSiPutsTheFormBack() {
    const std::string record = RecordOfTypedForm("19", QStringLiteral("Estación Ñandú"));
    QVERIFY(!record.empty());
    const QDateTime when(QDate(2026, 3, 5), QTime(10, 20));
    LeaveDrafts("11.1", {DraftOfPage(record, when)});

    PromptScript prompts;
    prompts.Answer(PromptKind::Question, QStringLiteral("Sí"));
    QSignalSpy restored(&Drafts(), &CDraftKeeper::draftRestored);
    Drafts().OfferAbandonedDrafts();
    QCOMPARE(prompts.asked.size(), std::size_t{1});
    const PromptRequest& question = prompts.asked[0];
    QCOMPARE(question.kind, PromptKind::Question);
    QCOMPARE(question.caption, QStringLiteral("Formulario RTQ-7301"));
    for (const QString& part :
         {QStringLiteral("Último cambio: 05/03/2026 10:20"), QStringLiteral("NIT: 19"),
          QStringLiteral("Nombre o razón social: ESTACIÓN ÑANDÚ"),
          QStringLiteral("Renglones del anexo llenos: 2"), QStringLiteral("¿Desea recuperarlo?")}) {
      QVERIFY2(question.text.contains(part), qPrintable(question.text));
    }
    QVERIFY(WaitForRestore(restored));
    QCOMPARE(RunJs("[document.C.c3.value, document.C.c13.value, document.C.f11c3.value,"
                   " document.C.f12c1.value, document.C.c1618.value].join('|')")
                 .toString(),
             QStringLiteral("ESTACIÓN ÑANDÚ|100.00|DIESEL|27|1.50"));
    // The draft is now this program's, and it goes on being kept.
    QVERIFY(!DraftFiles().contains("borrador-11.1-1.json"));
    QVERIFY(ReadDraft(CurrentDraftName()));
    QVERIFY(Type("c7", "3"));
    QVERIFY(WaitForDraftValue(CurrentDraftName(), "c7", "3.00"));
  }

  // Newest first; "No" asks once more before a draft with values goes, and
  // the next draft is offered.
  void noDiscardsAndSeveralDraftsAreOfferedInTurn() {
    const std::string older = RecordOfTypedForm("27", "Primera");
    const std::string newer = RecordOfTypedForm("35", "Segunda");
    const QDateTime when = QDateTime::currentDateTime().addDays(-1);
    LeaveDrafts("12.1", {DraftOfPage(older, when), DraftOfPage(newer, when.addSecs(60))});

    PromptScript prompts;
    prompts.Answer(PromptKind::Question, QStringLiteral("No"));
    prompts.Answer(PromptKind::Question, QStringLiteral("Sí"));
    prompts.Answer(PromptKind::Question, QStringLiteral("Sí"));
    QSignalSpy restored(&Drafts(), &CDraftKeeper::draftRestored);
    Drafts().OfferAbandonedDrafts();
    const QStringList questions = prompts.TextsOf(PromptKind::Question);
    QCOMPARE(questions.size(), 3);
    QVERIFY(questions[0].contains("NIT: 35"));
    QVERIFY2(questions[1].startsWith(QStringLiteral("Se descartará el formulario")),
             qPrintable(questions[1]));
    QVERIFY(questions[1].contains("35"));
    QVERIFY(questions[2].contains("NIT: 27"));
    QVERIFY(WaitForRestore(restored));
    QCOMPARE(RunJs("document.C.c3.value").toString(), QStringLiteral("PRIMERA"));
    for (const QString& file : DraftFiles()) QVERIFY(!file.startsWith("borrador-12.1-"));
    QVERIFY(!QFile::exists(DraftFolder() + "/borrador-12.1.lock"));
  }

  // Esc or the close button, on either question, and "No" to the second:
  // the draft stays, as it was, for the next start.
  void aQuestionPutOffKeepsTheDraft() {
    const std::string record = RecordOfTypedForm("43", "Tercera");
    const std::vector<std::vector<std::optional<QString>>> answers = {
        {std::nullopt},
        {QStringLiteral("No"), std::nullopt},
        {QStringLiteral("No"), QStringLiteral("No")}};
    for (const auto& given : answers) {
      Draft draft = DraftOfPage(record, QDateTime::currentDateTime());
      draft.reopened = true;
      draft.sourceFile = "/home/ana/\u202Efdp.exe/RTQ";  // reads backwards if shown as is
      LeaveDrafts("15.1", {draft});
      const QString file = DraftFolder() + "/borrador-15.1-1.json";
      QFile in(file);
      QVERIFY(in.open(QIODevice::ReadOnly));
      const QByteArray before = in.readAll();
      in.close();
      {
        PromptScript prompts;
        for (const auto& answer : given) prompts.Answer(PromptKind::Question, answer);
        Drafts().OfferAbandonedDrafts();
        const QStringList questions = prompts.TextsOf(PromptKind::Question);
        QCOMPARE(questions.size(), static_cast<int>(given.size()));
        QVERIFY2(questions[0].contains(QStringLiteral("/home/ana/[U+202E]fdp.exe/RTQ")),
                 qPrintable(questions[0]));
        QVERIFY(!questions[0].contains(QChar(0x202E)));
      }
      QVERIFY(in.open(QIODevice::ReadOnly));
      QCOMPARE(in.readAll(), before);
      in.close();
      QVERIFY(QFile::remove(file));
    }
  }

  // Only the real box shows what Esc and its close button give.
  void escAndTheCloseButtonPutTheQuestionOff() {
    enum How { kEsc, kClose, kNo };
    for (const How how : {kEsc, kClose, kNo}) {
      QTimer answer;
      answer.setInterval(50);
      QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        answer.stop();
        if (how == kEsc) QTest::keyClick(box, Qt::Key_Escape);
        if (how == kClose) box->close();
        if (how == kNo) box->button(QMessageBox::No)->click();
      });
      answer.start();
      const Reply reply =
          AskYesNoOrLater(&Frame(), QStringLiteral("¿Desea recuperarlo?"), QStringLiteral("x"));
      QCOMPARE(reply, how == kNo ? Reply::kNo : Reply::kLater);
    }
  }

  // A draft the page cannot put back (its script fails or refuses) is left as
  // it was and said so, once; the blank form is not written over it.
  void aDraftThePageCannotPutBackIsKeptAsItWas() {
    const std::string record = RecordOfTypedForm("51", "Cuarta");
    for (const char* failing :
         {"function () { throw new Error('roto'); }", "function () { return false; }"}) {
      QVERIFY(ReloadBlankForm());
      RunJs(QStringLiteral("restauraborrador = %1; true").arg(QString::fromLatin1(failing)));
      LeaveDrafts("16.1", {DraftOfPage(record, QDateTime::currentDateTime())});
      QFile original(DraftFolder() + "/borrador-16.1-1.json");
      QVERIFY(original.open(QIODevice::ReadOnly));
      const QByteArray before = original.readAll();
      original.close();

      PromptScript prompts;
      prompts.Answer(PromptKind::Question, QStringLiteral("Sí"));
      QSignalSpy failed(&Drafts(), &CDraftKeeper::draftRestoreFailed);
      Drafts().OfferAbandonedDrafts();
      QVERIFY(QTest::qWaitFor([&] { return prompts.CountOf(PromptKind::AppMessage) > 0; }, 20000));
      QTest::qWait(CDraftKeeper::kDelayMs * 2);
      Drafts().FlushNow();  // as Salir does
      const QStringList messages = prompts.TextsOf(PromptKind::AppMessage);
      QCOMPARE(messages.size(), 1);
      QVERIFY2(messages[0].startsWith(QStringLiteral("Error:\nEl formulario guardado no pudo")),
               qPrintable(messages[0]));
      QCOMPARE(failed.count(), 1);
      // The draft, whole, under this program's name now, for the next start.
      QStringList same;
      for (const QString& name : DraftFiles()) {
        QFile file(DraftFolder() + "/" + name);
        if (file.open(QIODevice::ReadOnly) && file.readAll() == before) same << name;
      }
      QCOMPARE(same.size(), 1);
      QVERIFY2(messages[0].contains(same[0]), qPrintable(messages[0]));
      // What is typed next goes to a draft of its own.
      QVERIFY(Type("c7", "3"));
      QVERIFY(WaitForDraftValue(CurrentDraftName(), "c7", "3.00"));
      QVERIFY(CurrentDraftName() != same[0]);
      QFile kept(DraftFolder() + "/" + same[0]);
      QVERIFY(kept.open(QIODevice::ReadOnly));
      QCOMPARE(kept.readAll(), before);
      kept.close();
      QVERIFY(kept.remove());
    }
  }

  // Where no folder for drafts can be made (here a file stands in its way),
  // the first change tells the user, once, that nothing typed is kept.
  void aFolderThatCannotBeMadeIsToldOnce() {
    QTemporaryDir dir;
    const QString blocker = dir.filePath("no-es-carpeta");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", blocker.toLocal8Bit());
    CDraftKeeper keeper(Page(), Frame());
    qputenv("XDG_DATA_HOME", dataHome);
    QVERIFY(!keeper.isKeeping());
    PromptScript prompts;
    keeper.OnPageChanged();
    keeper.OnPageChanged();
    const QStringList messages = prompts.TextsOf(PromptKind::AppMessage);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(QStringLiteral("Error:\nNo pudo guardarse el borrador")),
             qPrintable(messages[0]));
    QVERIFY(messages[0].contains(blocker));
  }

  // A draft of another version of the program stays where that version
  // finds it, said once and never offered.
  void aDraftThatCannotBeReadIsSetAsideWithAMessage() {
    const QString damaged = DraftFolder() + "/borrador-13.1-1.json";
    const QString otherVersion = DraftFolder() + "/borrador-13.1-2.json";
    {
      QFile out(damaged);
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write("{\"formato\": \"Formulario7301 borrador\", \"vers");
    }
    {
      QFile out(otherVersion);
      QVERIFY(out.open(QIODevice::WriteOnly));
      out.write("{\"formato\": \"Formulario7301 borrador\", \"version\": 9}");
    }
    PromptScript prompts;
    Drafts().OfferAbandonedDrafts();
    QCOMPARE(prompts.CountOf(PromptKind::Question), 0);
    const QStringList messages = prompts.TextsOf(PromptKind::AppMessage);
    QCOMPARE(messages.size(), 1);  // one message for all of them
    QVERIFY(messages[0].startsWith("Error:\n"));
    QVERIFY2(messages.join('\n').contains(damaged + ".apartado"), qPrintable(messages.join('\n')));
    QVERIFY(messages.join('\n').contains(QStringLiteral("es de otra versión del programa")));
    QVERIFY(messages.join('\n').contains(otherVersion + "\nSe dejó donde está"));
    QVERIFY(QFile::exists(damaged + ".apartado"));
    QVERIFY(QFile::exists(otherVersion));
    QVERIFY(!QFile::exists(otherVersion + ".apartado"));
    QVERIFY(!QFile::exists(damaged));
    // The program goes on with its blank form, and is not asked again.
    QVERIFY(Type("c2", "19"));
    PromptScript again;
    Drafts().OfferAbandonedDrafts();
    QVERIFY(again.asked.empty());
  }

  void aRunningProgramsDraftIsNotOffered() {
    DraftStore running(DraftFolder().toStdString(), "14.1");
    QVERIFY(running.Open());
    QVERIFY(running.Write(
        1, DraftOfPage(R"({"filas":[0,3],"campos":{"c2":"19"}})", QDateTime::currentDateTime())));
    PromptScript prompts;
    Drafts().OfferAbandonedDrafts();
    QVERIFY(prompts.asked.empty());
    QVERIFY(DraftFiles().contains("borrador-14.1-1.json"));
    running.Remove(1);
  }
};

F7301_APP_TEST(DraftTest);

}  // namespace f7301::test

#include "draft_test.moc"
