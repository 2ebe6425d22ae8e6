#include "app/review_command.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QTimer>
#include <QVariant>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>

#include "app/formulario_app.h"
#include "app/page_review.h"
#include "app/res_scheme.h"
#include "app/review_page.h"
#include "app/spanish_locale.h"
#include "declaration/declaration_paths.h"

namespace f7301 {
namespace {

constexpr const char* kNotReviewed = "Error:\nNo se pudo revisar el formulario de este archivo.";

// A form of 500 annex rows loads and answers in a second or two on a busy
// machine; a page that never answers must not hold the files after it, nor
// a script waiting for the command's status.
constexpr int kPagePatienceMs = 60000;

// Qt's and the browser engine's notes on how they started (no GPU on the
// offscreen platform, no sandbox, ...) say nothing about the files; standard
// error carries only why a file could not be reviewed. Real failures pass.
QtMessageHandler g_qtMessages = nullptr;

void KeepQtNotesQuiet(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) g_qtMessages(type, context, text);
}

void Print(std::FILE* stream, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace

CReviewCommand::CReviewCommand(std::vector<std::string> files, QObject* parent)
    : QObject(parent),
      m_files(std::move(files)),
      m_hidden(new CHiddenPage(this)),
      m_page(&m_hidden->page()) {
  connect(m_page, &QWebEnginePage::loadFinished, this, &CReviewCommand::OnLoaded);
  connect(m_page, &QWebEnginePage::renderProcessTerminated, this, [this] {
    if (m_stage != Stage::kReading) Unreviewed(kNotReviewed);
  });
  m_patience.setSingleShot(true);
  m_patience.setInterval(kPagePatienceMs);
  connect(&m_patience, &QTimer::timeout, this, [this] {
    if (m_stage != Stage::kReading) Unreviewed(kNotReviewed);
  });
  connect(m_page, &CReviewPage::boxAsked, this,
          [this](const QString& text) { Print(stderr, RefusalLine(file(), text.toStdString())); });
}

CReviewCommand::~CReviewCommand() = default;

void CReviewCommand::Start() { QTimer::singleShot(0, this, &CReviewCommand::ReadNext); }

void CReviewCommand::ReadNext() {
  m_stage = Stage::kReading;
  if (m_index >= m_files.size()) {
    QCoreApplication::exit(m_status.exitStatus());
    return;
  }
  auto* watcher = new QFutureWatcher<ReviewReading>(this);
  connect(watcher, &QFutureWatcher<ReviewReading>::finished, this, [this, watcher] {
    watcher->deleteLater();
    OnRead(watcher->result());
  });
  watcher->setFuture(QtConcurrent::run(ReadForReview, PathFromUtf8(file())));
}

void CReviewCommand::OnRead(const ReviewReading& reading) {
  if (!reading.page) return Unreviewed(reading.refusal);
  m_stage = Stage::kLoading;
  m_patience.start();
  m_awaitedUrl = m_hidden->scheme().AddGeneratedPage(
      QByteArray(reading.page->data(), static_cast<qsizetype>(reading.page->size())));
  m_page->load(m_awaitedUrl);
}

void CReviewCommand::OnLoaded(bool ok) {
  if (m_stage != Stage::kLoading || m_page->url() != m_awaitedUrl) return;
  if (!ok) return Unreviewed(kNotReviewed);
  m_stage = Stage::kReviewing;
  // An answer for a file already given up (its page's renderer ended) is
  // dropped.
  m_page->runJavaScript(ReviewScript(), [this, index = m_index](const QVariant& result) {
    if (index == m_index && m_stage == Stage::kReviewing) OnReviewed(result);
  });
}

void CReviewCommand::OnReviewed(const QVariant& result) {
  const auto lines = ReviewLinesOf(result);
  if (!lines) return Unreviewed(kNotReviewed);
  int errors = 0;
  for (const ReviewLine& line : *lines) {
    errors += line.error ? 1 : 0;
    const ReviewProblem problem{line.error ? "Error" : "Aviso", line.where.toStdString(),
                                line.text.toStdString()};
    Print(stdout, ProblemLine(file(), problem));
  }
  Print(stdout, SummaryLine(file(), errors, static_cast<int>(lines->size()) - errors));
  m_status.CountFile(errors);
  NextFile();
}

void CReviewCommand::Unreviewed(const std::string& message) {
  Print(stderr, RefusalLine(file(), message));
  Print(stdout, UnreviewedLine(file()));
  m_status.CountUnreviewed();
  NextFile();
}

void CReviewCommand::NextFile() {
  m_patience.stop();
  ++m_index;
  ReadNext();
}

int RunReview(char* program, const std::vector<std::string>& files) {
  // Nothing is shown, so no display is needed: the review runs from a
  // terminal or a script as well as from a desktop. The file names are not
  // handed to Qt, which would take some of them for its own options.
  static char platform[] = "-platform";
  static char offscreen[] = "offscreen";
  char* arguments[] = {program, platform, offscreen, nullptr};
  int count = 3;
  g_qtMessages = qInstallMessageHandler(KeepQtNotesQuiet);
  CFormularioApp app(count, arguments);
  CReviewCommand command(files);
  command.Start();
  return app.Run();
}

}  // namespace f7301
