#include "app/paste_guard.h"

#include <QMouseEvent>
#include <QWidget>

namespace f7301 {

CPasteGuard::CPasteGuard(QWidget* browser, QObject* parent) : QObject(parent), m_browser(browser) {}

bool CPasteGuard::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      // The press, its release and a double click all go: the browser pastes
      // on one of them, and a release without its press is no use to it.
      if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton) return false;
      if (!watched->isWidgetType()) return false;
      auto* widget = static_cast<QWidget*>(watched);
      return widget == m_browser || m_browser->isAncestorOf(widget);
    }
    default:
      return false;
  }
}

}  // namespace f7301
