#include "app/form_zoom.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QTimer>
#include <QWebEngineView>
#include <QWheelEvent>
#include <cmath>

namespace f7301 {
namespace {

const char* const kZoomKey = "Ver/Zoom";
// Factors this close are one step: the browser hands back a factor it has
// rounded.
constexpr qreal kSameStep = 0.005;

// The kept size, if the settings hold one the form can take: the settings
// file is the user's to edit.
qreal KeptFactor() {
  bool ok = false;
  const qreal kept = QSettings().value(QLatin1String(kZoomKey)).toDouble(&ok);
  if (!ok || !std::isfinite(kept) || kept < kSmallestZoom || kept > kLargestZoom) return 1.0;
  return kept;
}

QAction* ZoomAction(QObject* owner, const QString& text, QList<QKeySequence> keys) {
  auto* action = new QAction(text, owner);
  action->setShortcuts(keys);
  // The keys act while the caret is in a box of the form, too.
  action->setShortcutContext(Qt::WindowShortcut);
  return action;
}

}  // namespace

CFormZoom::CFormZoom(QWebEngineView& view, QMenu& menu, QObject* parent)
    : QObject(parent),
      m_view(view),
      m_in(ZoomAction(
          this, QStringLiteral("&Acercar"),
          {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)})),
      m_out(ZoomAction(this, QStringLiteral("A&lejar"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)})),
      m_normal(ZoomAction(this, QStringLiteral("&Tamaño normal"),
                          {QKeySequence(Qt::CTRL | Qt::Key_0)})) {
  m_view.setZoomFactor(KeptFactor());
  connect(m_in, &QAction::triggered, this,
          [this] { SetFactor(NextZoomStep(m_view.zoomFactor(), true)); });
  connect(m_out, &QAction::triggered, this,
          [this] { SetFactor(NextZoomStep(m_view.zoomFactor(), false)); });
  connect(m_normal, &QAction::triggered, this, [this] { SetFactor(1.0); });
  menu.addActions({m_in, m_out, m_normal});
  // Ctrl+wheel is the browser's own; its result is read once the wheel has
  // stopped turning, when the browser has applied it.
  qApp->installEventFilter(this);
}

void CFormZoom::SetFactor(qreal factor) {
  m_view.setZoomFactor(factor);
  Remember();
}

void CFormZoom::Remember() {
  const qreal factor = m_view.zoomFactor();
  if (std::abs(factor - KeptFactor()) < kSameStep / 10) return;
  QSettings().setValue(QLatin1String(kZoomKey), factor);
}

bool CFormZoom::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
  if (!(static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier)) return false;
  if (!m_view.isAncestorOf(static_cast<QWidget*>(watched))) return false;
  QTimer::singleShot(500, this, &CFormZoom::Remember);
  return false;
}

}  // namespace f7301
