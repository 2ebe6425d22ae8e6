#include "app/draft_keeper.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QStringList>
#include <QWebEnginePage>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/modal_prompts.h"
#include "draft/shown_text.h"

namespace f7301 {
namespace {

const char* const kRecordScript =
    "typeof borradorformulario === 'function' ? JSON.stringify(borradorformulario()) : ''";

constexpr const char* kQuestionCaption = "Formulario RTQ-7301";

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text); }

// What a file says, made safe to show (see ShownSafely).
QString Shown(const std::string& text) { return FromUtf8(ShownSafely(text)); }

// The same, cut short (see ShownShort): in a question, a long name or path
// would push the question and its buttons off the screen.
QString ShownInQuestion(const std::string& text) { return FromUtf8(ShownShort(text)); }

QString OrNone(const std::string& text, const char* none) {
  return text.empty() ? QString::fromUtf8(none) : ShownInQuestion(text);
}

QString WhenOf(const Draft& draft) {
  return QDateTime::fromMSecsSinceEpoch(draft.savedAtMs)
      .toLocalTime()
      .toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString QuestionAbout(const Draft& draft) {
  const DraftSummary summary = Summarize(draft);
  QString text = QStringLiteral(
                     "Hay un formulario que no llegó a generarse y puede recuperarse.\n\n"
                     "Último cambio: %1\nNIT: %2\nNombre o razón social: %3\n"
                     "Renglones del anexo llenos: %4\n")
                     .arg(WhenOf(draft), OrNone(summary.nit, "(sin NIT)"),
                          OrNone(summary.name, "(sin nombre)"))
                     .arg(summary.annexRows);
  if (draft.reopened) {
    text += QStringLiteral("Abierto con Modificar de: %1\n").arg(ShownInQuestion(draft.sourceFile));
  }
  return text + QStringLiteral("\n¿Desea recuperarlo?");
}

QString DiscardQuestionAbout(const Draft& draft) {
  const DraftSummary summary = Summarize(draft);
  return QStringLiteral(
             "Se descartará el formulario guardado (NIT: %1, último cambio: %2) y lo que "
             "usted escribió en él no podrá recuperarse.\n\n¿Desea descartarlo?")
      .arg(OrNone(summary.nit, "(sin NIT)"), WhenOf(draft));
}

QString ProblemText(DraftProblem problem) {
  switch (problem) {
    case DraftProblem::kTooLarge:
      return QStringLiteral("es demasiado grande");
    case DraftProblem::kOtherVersion:
      return QStringLiteral("es de otra versión del programa");
    default:
      return QStringLiteral("está dañado");
  }
}

QString PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                           static_cast<qsizetype>(text.size()));
}

QString ShownPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return Shown(std::string(text.begin(), text.end()));
}

// The drafts set aside at one start, in one message.
constexpr int kMostDamagedListed = 10;

// Another version of the program may read it: it stays where that version
// looks for it.
QString OtherVersionText(const AbandonedDraft& found) {
  return QStringLiteral(
             "Un borrador guardado es de otra versión del programa y no puede recuperarse con "
             "esta:\n%1\nSe dejó donde está, para la versión que lo escribió.")
      .arg(ShownPath(found.file));
}

QString SetAsideText(const AbandonedDraft& found, const std::filesystem::path& aside) {
  return QStringLiteral(
             "Un borrador guardado de un formulario %1 y no puede recuperarse:\n%2\n"
             "Se apartó como:\n%3")
      .arg(ProblemText(found.problem), ShownPath(found.file),
           aside.empty() ? QStringLiteral("(no pudo apartarse y se eliminó)") : ShownPath(aside));
}

}  // namespace

CDraftKeeper::CDraftKeeper(QWebEnginePage& page, QWidget& window, QObject* parent)
    : QObject(parent),
      m_page(page),
      m_window(window),
      m_store(DefaultDraftFolder(), UniqueProgramName()) {
  // Without a folder for drafts the program works as before, keeping none.
  m_store.Open();
  m_timer.setSingleShot(true);
  m_timer.setInterval(kDelayMs);
  connect(&m_timer, &QTimer::timeout, this, &CDraftKeeper::OnTimer);
  connect(&m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
    m_pageLoaded = true;
    if (m_pendingRestore) {
      m_pendingRestore();
      m_pendingRestore = nullptr;
    } else if (IsKeepable()) {
      // The values the page came with: a form reopened with Modificar is
      // kept whole even if a message holds the page before the first write.
      AskPage([] {});
    }
  });
}

bool CDraftKeeper::IsKeepable() const { return m_store.isOpen() && m_kind != PageKind::ReadOnly; }

QString CDraftKeeper::currentDraftFile() const { return PathText(m_store.FileOf(m_form)); }

void CDraftKeeper::BeginPage(PageKind kind, const QString& sourceFile) {
  m_timer.stop();
  ++m_epoch;
  // The form leaving the screen keeps its draft; the new one gets its own,
  // once something is typed on it.
  if (m_written) ++m_form;
  m_kind = kind;
  m_sourceFile = sourceFile;
  m_touched = false;
  m_written = false;
  m_lastRecord.clear();
  m_kept.Clear();
  m_pageLoaded = false;
  m_pendingRestore = nullptr;
  m_restoring = false;
}

void CDraftKeeper::OnPageChanged() {
  // A folder that could not be made keeps nothing: the user is told once, as
  // for a draft that could not be written.
  if (!m_store.isOpen() && m_kind != PageKind::ReadOnly) return TellWriteFailure();
  if (!IsKeepable()) return;
  m_touched = true;
  // Not restarted by later changes: typing without a pause is written too.
  if (!m_timer.isActive()) m_timer.start();
}

void CDraftKeeper::OnFieldReported(const QString& name, const QString& value) {
  if (IsKeepable() && !m_restoring) m_kept.Report(name.toStdString(), value.toStdString());
  OnPageChanged();
}

void CDraftKeeper::AskPage(std::function<void()> then) {
  const int epoch = m_epoch;
  const int asked = ++m_asked;
  m_kept.Asked();
  m_page.runJavaScript(QString::fromLatin1(kRecordScript),
                       [this, epoch, asked, then = std::move(then)](const QVariant& record) {
                         m_answered = std::max(m_answered, asked);
                         // A form validated or replaced meanwhile is not kept.
                         if (epoch == m_epoch) m_kept.Take(record.toString().toStdString());
                         then();
                       });
}

// A message or dialog holds the page, which answers nothing until it is
// closed: the values it reported are written as they are. Otherwise the page
// gives its whole record (values its scripts wrote included); should it not
// answer within a moment, the kept values are written all the same.
void CDraftKeeper::OnTimer() {
  if (!IsKeepable() || !m_touched || m_restoring) return;
  if (QApplication::activeModalWidget() != nullptr || m_answered != m_asked) return WriteKept();
  const int epoch = m_epoch;
  const int asked = m_asked + 1;
  AskPage([this, epoch] {
    if (epoch == m_epoch) WriteKept();
  });
  QTimer::singleShot(kAnswerWaitMs, this, [this, epoch, asked] {
    if (epoch == m_epoch && m_answered < asked && m_touched) WriteKept();
  });
}

void CDraftKeeper::FlushThen(std::function<void()> then) {
  m_timer.stop();
  if (!IsKeepable() || !m_touched || m_restoring) {
    then();
    return;
  }
  const int epoch = m_epoch;
  AskPage([this, epoch, then = std::move(then)] {
    if (epoch == m_epoch) WriteKept();
    then();
  });
}

void CDraftKeeper::FlushNow() {
  // Written at once from the kept values, then again with the page's record
  // if it answers.
  if (IsKeepable() && m_touched && !m_restoring) WriteKept();
  auto done = std::make_shared<bool>(false);
  FlushThen([done] { *done = true; });
  QElapsedTimer waited;
  waited.start();
  while (!*done && waited.elapsed() < kCloseWaitMs) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
}

void CDraftKeeper::KeepForEnd() {
  m_timer.stop();
  if (!IsKeepable() || !m_touched || m_restoring) return;
  if (WriteRecord(QString::fromStdString(m_kept.Json())) == Written::kRefused) {
    const QByteArray folder = PathText(m_store.folder()).toLocal8Bit();
    std::fprintf(stderr, "formulario7301: no pudo guardarse el borrador del formulario en %s\n",
                 folder.constData());
  }
}

void CDraftKeeper::WriteKept() {
  if (WriteRecord(QString::fromStdString(m_kept.Json())) == Written::kRefused) TellWriteFailure();
}

CDraftKeeper::Written CDraftKeeper::WriteRecord(const QString& pageRecord) {
  if (pageRecord.isEmpty() || pageRecord == m_lastRecord) return Written::kUnchanged;
  Draft draft;
  draft.savedAtMs = QDateTime::currentMSecsSinceEpoch();
  draft.reopened = m_kind == PageKind::Editable;
  draft.sourceFile = m_sourceFile.toStdString();
  draft.page = pageRecord.toStdString();
  if (!m_store.Write(m_form, draft)) return Written::kRefused;
  m_written = true;
  m_lastRecord = pageRecord;
  emit draftWritten();
  return Written::kWritten;
}

void CDraftKeeper::TellWriteFailure() {
  if (m_toldWriteFailure) return;
  m_toldWriteFailure = true;
  ShowMessage(&m_window, PromptKind::AppMessage,
              QStringLiteral("Error:\nNo pudo guardarse el borrador del formulario en %1.\n"
                             "Lo que usted escriba no quedará guardado hasta que genere "
                             "la declaración.")
                  .arg(PathText(m_store.folder())),
              QString::fromLatin1(kAppTitle));
}

void CDraftKeeper::OnDeclarationWritten() {
  m_timer.stop();
  ++m_epoch;
  if (m_written) m_store.Remove(m_form);
  m_written = false;
  m_touched = false;
  m_lastRecord.clear();
}

void CDraftKeeper::OfferAbandonedDrafts() {
  if (!m_store.isOpen()) return;
  std::vector<AbandonedDraft> readable;
  QStringList damaged;
  int unlisted = 0;
  for (AbandonedDraft& found : m_store.ClaimAbandoned()) {
    if (found.problem == DraftProblem::kNone) {
      readable.push_back(std::move(found));
      continue;
    }
    const bool otherVersion = found.problem == DraftProblem::kOtherVersion;
    // Said once while the program runs; the file is never touched.
    if (otherVersion && !m_toldOtherVersion.insert(found.file).second) continue;
    const QString text =
        otherVersion ? OtherVersionText(found) : SetAsideText(found, m_store.SetAside(found));
    if (damaged.size() < kMostDamagedListed) {
      damaged << text;
    } else {
      ++unlisted;
    }
  }
  if (!damaged.isEmpty()) {
    QString text = QStringLiteral("Error:\n") + damaged.join(QStringLiteral("\n\n"));
    if (unlisted > 0) {
      text += QStringLiteral(
                  "\n\nY otros %1 borradores que tampoco pueden recuperarse, en la misma "
                  "carpeta.")
                  .arg(unlisted);
    }
    ShowMessage(&m_window, PromptKind::AppMessage, text, QString::fromLatin1(kAppTitle));
  }
  // Newest first, one form at a time: the others stay for the next start.
  for (const AbandonedDraft& found : readable) {
    const Offer offer = OfferOne(found);
    if (offer != Offer::kDiscarded) break;
  }
  m_store.ReleaseClaims();
}

CDraftKeeper::Offer CDraftKeeper::OfferOne(const AbandonedDraft& found) {
  const QString caption = QString::fromUtf8(kQuestionCaption);
  switch (AskYesNoOrLater(&m_window, QuestionAbout(found.draft), caption)) {
    case Reply::kLater:
      return Offer::kPutOff;
    case Reply::kNo:
      // Nothing typed is thrown away on one click.
      if (Summarize(found.draft).anyValue &&
          AskYesNoOrLater(&m_window, DiscardQuestionAbout(found.draft), caption) != Reply::kYes) {
        return Offer::kPutOff;
      }
      m_store.Discard(found);
      return Offer::kDiscarded;
    case Reply::kYes:
      break;
  }
  if (m_written) ++m_form;
  m_written = m_store.Adopt(found, m_form);
  // Nothing is written over the adopted draft until the page holds it.
  m_touched = false;
  m_kind = found.draft.reopened ? PageKind::Editable : PageKind::Blank;
  m_sourceFile = FromUtf8(found.draft.sourceFile);
  Restore(found.draft);
  return Offer::kRestoring;
}

void CDraftKeeper::Restore(const Draft& draft) {
  const QString script = QStringLiteral("restauraborrador(%1)").arg(FromUtf8(draft.page));
  m_restoring = true;
  const int epoch = m_epoch;
  auto run = [this, script, epoch] {
    m_page.runJavaScript(script, [this, epoch](const QVariant& result) {
      if (epoch != m_epoch) return;
      m_restoring = false;
      // A script that threw gives no result; one that refused, false.
      if (result.typeId() == QMetaType::Bool && result.toBool()) {
        m_touched = true;
        AskPage([] {});
        emit draftRestored();
      } else {
        KeepUnrestoredDraft();
      }
    });
  };
  if (m_pageLoaded) {
    run();
  } else {
    m_pendingRestore = run;
  }
}

void CDraftKeeper::KeepUnrestoredDraft() {
  const QString file = currentDraftFile();
  // The adopted file is left as it is; the form on screen, blank, gets its
  // own once something is typed on it.
  if (m_written) ++m_form;
  m_written = false;
  m_touched = false;
  m_kind = PageKind::Blank;
  m_sourceFile.clear();
  m_lastRecord.clear();
  m_kept.Clear();
  ShowMessage(&m_window, PromptKind::AppMessage,
              QStringLiteral("Error:\nEl formulario guardado no pudo ponerse de nuevo en "
                             "pantalla. El borrador se conserva sin cambios en:\n%1\n"
                             "y se le ofrecerá otra vez la próxima vez que inicie el programa.")
                  .arg(Shown(file.toStdString())),
              QString::fromLatin1(kAppTitle));
  emit draftRestoreFailed();
}

}  // namespace f7301
