#include "app/page_review.h"

#include <QPointer>
#include <QWebEnginePage>

#include "app/js_string.h"

namespace f7301 {
namespace {

// A page without the form's scripts (a read-only page) has nothing to review.
const char* const kReviewScript =
    "(function () { return typeof revisionformulario == 'function' ?"
    " {lineas: revisionformulario()} : {consulta: true}; })()";

}  // namespace

QString ReviewScript() { return QString::fromLatin1(kReviewScript); }

std::optional<QList<ReviewLine>> ReviewLinesOf(const QVariant& answer) {
  const QVariant lines = answer.toMap().value(QStringLiteral("lineas"));
  if (lines.typeId() != QMetaType::QVariantList) return std::nullopt;
  QList<ReviewLine> result;
  for (const QVariant& item : lines.toList()) {
    const QVariantMap line = item.toMap();
    result.append({line.value(QStringLiteral("campo")).toString(),
                   line.value(QStringLiteral("donde")).toString(),
                   line.value(QStringLiteral("texto")).toString(),
                   line.value(QStringLiteral("clase")).toString() != QLatin1String("Aviso")});
  }
  return result;
}

CPageReview::CPageReview(QWebEnginePage& page, QObject* parent) : QObject(parent), m_page(page) {
  connect(&m_page, &QWebEnginePage::loadStarted, this, [this] {
    ++m_pageCount;
    m_running = false;
    m_again = false;
    emit pageLeft();
  });
}

void CPageReview::Request() {
  if (m_running) {
    m_again = true;
    return;
  }
  Start();
}

void CPageReview::Start() {
  m_running = true;
  m_again = false;
  const int page = m_pageCount;
  // The page answers every script, with nothing when it goes first.
  m_page.runJavaScript(ReviewScript(),
                       [self = QPointer<CPageReview>(this), page](const QVariant& answer) {
                         if (self) self->OnAnswer(page, answer);
                       });
}

void CPageReview::OnAnswer(int page, const QVariant& answer) {
  if (page != m_pageCount) return;  // a review of a page replaced since
  m_running = false;
  if (answer.toMap().value(QStringLiteral("consulta")).toBool()) {
    emit notReviewable();
  } else if (const auto lines = ReviewLinesOf(answer)) {
    emit reviewed(*lines);
  }
  if (m_again) Start();
}

void CPageReview::GoTo(const QString& field) {
  m_page.runJavaScript(QStringLiteral("irarevision(%1)").arg(JsString(field)));
}

}  // namespace f7301
