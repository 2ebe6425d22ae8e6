#include "app/printout/printed_form.h"

#include <QFutureWatcher>
#include <QProgressDialog>
#include <QWebEnginePage>
#include <QtConcurrent/QtConcurrentRun>
#include <string_view>

#include "app/printout/stamp_pages.h"
#include "printout/pdf_stamp.h"

namespace f7301 {
namespace {

// A quick document shows no box at all.
constexpr int kProgressDelayMs = 400;

std::string_view View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Off the window's thread: the head and foot drawn for as many pages as were
// printed and laid over them.
QByteArray Stamped(const QByteArray& printed, const QString& head, const QPageLayout& layout) {
  const std::optional<int> pages = PdfPageCount(View(printed));
  if (!pages || *pages < 1) return {};
  const QByteArray stamps = DrawStampPages(head, *pages, layout);
  const std::optional<std::string> stamped = StampPages(View(printed), View(stamps));
  if (!stamped) return {};
  return QByteArray(stamped->data(), static_cast<qsizetype>(stamped->size()));
}

}  // namespace

CPrintedForm::CPrintedForm(QWebEnginePage& page, QWidget& window, QObject* parent)
    : QObject(parent), m_page(page), m_window(window) {}

CPrintedForm::~CPrintedForm() {
  if (m_cancelled) *m_cancelled = true;
  delete m_progress;
}

QPageLayout CPrintedForm::LayoutFor(const QPageSize& paper) {
  return QPageLayout(paper, QPageLayout::Portrait, QMarginsF(10, 14, 10, 14),
                     QPageLayout::Millimeter);
}

bool CPrintedForm::Start(const QString& head, const QPageLayout& layout,
                         const QString& progressText, Deliver deliver) {
  if (m_busy) return false;
  m_busy = true;
  m_cancelled = std::make_shared<std::atomic_bool>(false);
  m_progress = new QProgressDialog(progressText, QStringLiteral("Cancelar"), 0, 0, &m_window);
  m_progress->setWindowTitle(QStringLiteral("Formulario7301"));
  m_progress->setMinimumDuration(kProgressDelayMs);
  m_progress->setAutoClose(false);
  m_progress->setAutoReset(false);
  connect(m_progress, &QProgressDialog::canceled, this, &CPrintedForm::Cancel);

  QPointer<CPrintedForm> self(this);
  m_page.printToPdf(
      [self, head, layout, deliver = std::move(deliver)](const QByteArray& pdf) {
        if (self) self->OnPrinted(pdf, head, layout, deliver);
      },
      layout);
  return true;
}

void CPrintedForm::Cancel() {
  if (!m_busy) return;
  *m_cancelled = true;
  if (m_progress) m_progress->hide();
}

void CPrintedForm::OnPrinted(const QByteArray& pdf, const QString& head, const QPageLayout& layout,
                             Deliver deliver) {
  if (*m_cancelled) return Finish(Outcome::kCancelled);
  if (pdf.isEmpty()) return Finish(Outcome::kFailed);
  auto* watcher = new QFutureWatcher<Outcome>(this);
  connect(watcher, &QFutureWatcher<Outcome>::finished, this, [this, watcher] {
    watcher->deleteLater();
    Finish(watcher->result());
  });
  watcher->setFuture(
      QtConcurrent::run([pdf, head, layout, deliver = std::move(deliver), cancelled = m_cancelled] {
        const QByteArray stamped = Stamped(pdf, head, layout);
        if (*cancelled) return Outcome::kCancelled;
        if (stamped.isEmpty()) return Outcome::kFailed;
        return deliver(stamped) ? Outcome::kDone : Outcome::kFailed;
      }));
}

void CPrintedForm::Finish(Outcome outcome) {
  delete m_progress;
  m_busy = false;
  emit finished(outcome);
}

}  // namespace f7301
