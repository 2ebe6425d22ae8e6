#include "app/draft_keeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QStringList>
#include <QWebEnginePage>
#include <QWidget>
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

QString OrNone(const std::string& text, const char* none) {
  return text.empty() ? QString::fromUtf8(none) : Shown(text);
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
    text += QStringLiteral("Abierto con Modificar de: %1\n").arg(Shown(draft.sourceFile));
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
  connect(&m_timer, &QTimer::timeout, this, [this] { FlushThen([] {}); });
  connect(&m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
    m_pageLoaded = true;
    if (m_pendingRestore) {
      m_pendingRestore();
      m_pendingRestore = nullptr;
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

void CDraftKeeper::FlushThen(std::function<void()> then) {
  m_timer.stop();
  if (!IsKeepable() || !m_touched || m_restoring) {
    then();
    return;
  }
  const int epoch = m_epoch;
  m_page.runJavaScript(QString::fromLatin1(kRecordScript),
                       [this, epoch, then = std::move(then)](const QVariant& record) {
                         // A form validated or replaced meanwhile is not written back.
                         if (epoch == m_epoch) Write(record.toString());
                         then();
                       });
}

void CDraftKeeper::FlushNow() {
  auto done = std::make_shared<bool>(false);
  FlushThen([done] { *done = true; });
  QElapsedTimer waited;
  waited.start();
  while (!*done && waited.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
}

void CDraftKeeper::Write(const QString& pageRecord) {
  if (pageRecord.isEmpty() || pageRecord == m_lastRecord) return;
  Draft draft;
  draft.savedAtMs = QDateTime::currentMSecsSinceEpoch();
  draft.reopened = m_kind == PageKind::Editable;
  draft.sourceFile = m_sourceFile.toStdString();
  draft.page = pageRecord.toStdString();
  if (!IsPageRecord(draft.page)) return;
  if (!m_store.Write(m_form, draft)) return TellWriteFailure();
  m_written = true;
  m_lastRecord = pageRecord;
  emit draftWritten();
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
    const std::filesystem::path aside = m_store.SetAside(found);
    if (damaged.size() < kMostDamagedListed) {
      damaged << SetAsideText(found, aside);
    } else {
      ++unlisted;
    }
  }
  if (!damaged.isEmpty()) {
    QString text = QStringLiteral("Error:\n") + damaged.join(QStringLiteral("\n\n"));
    if (unlisted > 0) {
      text += QStringLiteral(
                  "\n\nY otros %1 borradores que tampoco pueden recuperarse, "
                  "apartados en la misma carpeta.")
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
  ShowMessage(&m_window, PromptKind::AppMessage,
              QStringLiteral("Error:\nEl formulario guardado no pudo ponerse de nuevo en "
                             "pantalla. El borrador se conserva sin cambios en:\n%1\n"
                             "y se le ofrecerá otra vez la próxima vez que inicie el programa.")
                  .arg(Shown(file.toStdString())),
              QString::fromLatin1(kAppTitle));
  emit draftRestoreFailed();
}

}  // namespace f7301
