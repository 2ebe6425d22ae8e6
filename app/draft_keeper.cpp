#include "app/draft_keeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QWebEnginePage>
#include <QWidget>
#include <memory>

#include "app/modal_prompts.h"

namespace f7301 {
namespace {

const char* const kRecordScript =
    "typeof borradorformulario === 'function' ? JSON.stringify(borradorformulario()) : ''";

constexpr const char* kQuestionCaption = "Formulario RTQ-7301";

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text); }

QString OrNone(const std::string& text, const char* none) {
  return text.empty() ? QString::fromUtf8(none) : FromUtf8(text);
}

QString QuestionAbout(const Draft& draft) {
  const DraftSummary summary = Summarize(draft);
  const QString when = QDateTime::fromMSecsSinceEpoch(draft.savedAtMs)
                           .toLocalTime()
                           .toString(QStringLiteral("dd/MM/yyyy HH:mm"));
  QString text =
      QStringLiteral(
          "Hay un formulario que no llegó a generarse y puede recuperarse.\n\n"
          "Último cambio: %1\nNIT: %2\nNombre o razón social: %3\n"
          "Renglones del anexo llenos: %4\n")
          .arg(when, OrNone(summary.nit, "(sin NIT)"), OrNone(summary.name, "(sin nombre)"))
          .arg(summary.annexRows);
  if (draft.reopened) {
    text += QStringLiteral("Abierto con Modificar de: %1\n").arg(FromUtf8(draft.sourceFile));
  }
  return text + QStringLiteral("\n¿Desea recuperarlo?");
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
  if (!IsKeepable() || !m_touched) {
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
  bool restored = false;
  for (const AbandonedDraft& found : m_store.ClaimAbandoned()) {
    if (found.problem != DraftProblem::kNone) {
      const std::filesystem::path aside = m_store.SetAside(found);
      ShowMessage(&m_window, PromptKind::AppMessage,
                  QStringLiteral("Error:\nUn borrador guardado de un formulario %1 y no puede "
                                 "recuperarse:\n%2\nSe apartó como:\n%3")
                      .arg(ProblemText(found.problem), PathText(found.file),
                           aside.empty() ? QStringLiteral("(no pudo apartarse y se eliminó)")
                                         : PathText(aside)),
                  QString::fromLatin1(kAppTitle));
      continue;
    }
    // One form at a time: the others stay for the next start.
    if (!restored) restored = OfferOne(found);
  }
  m_store.ReleaseClaims();
}

bool CDraftKeeper::OfferOne(const AbandonedDraft& found) {
  if (!AskYesNo(&m_window, QuestionAbout(found.draft), QString::fromUtf8(kQuestionCaption))) {
    m_store.Discard(found);
    return false;
  }
  if (m_written) ++m_form;
  m_written = m_store.Adopt(found, m_form);
  m_touched = true;
  m_kind = found.draft.reopened ? PageKind::Editable : PageKind::Blank;
  m_sourceFile = FromUtf8(found.draft.sourceFile);
  Restore(found.draft);
  return true;
}

void CDraftKeeper::Restore(const Draft& draft) {
  const QString script = QStringLiteral("restauraborrador(%1)").arg(FromUtf8(draft.page));
  auto run = [this, script] {
    m_page.runJavaScript(script, [this](const QVariant&) { emit draftRestored(); });
  };
  if (m_pageLoaded) {
    run();
  } else {
    m_pendingRestore = run;
  }
}

}  // namespace f7301
