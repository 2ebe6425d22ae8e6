#include "app/lock_key_indicators.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#ifdef F7301_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace f7301 {
namespace {

QLabel* Pane(QStatusBar& bar, const char* text) {
  auto* label = new QLabel(QString::fromLatin1(text), &bar);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("DESP")) + 12);
  bar.addPermanentWidget(label);
  return label;
}

#ifdef F7301_HAVE_X11
Display* X11Display() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

bool LockOn(Display* display, const char* indicator) {
  Bool on = False;
  const Atom atom = XInternAtom(display, indicator, True);
  if (atom == None) return false;
  XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr);
  return on == True;
}

void ShowState(QLabel* pane, const char* text, bool on) {
  // An empty pane keeps its size, as the lock panes of a status bar do.
  pane->setText(on ? QString::fromLatin1(text) : QString());
}
#endif

}  // namespace

CLockKeyIndicators::CLockKeyIndicators(QStatusBar& statusBar)
    : QObject(&statusBar),
      m_caps(Pane(statusBar, "MAY")),
      m_num(Pane(statusBar, "NUM")),
      m_scroll(Pane(statusBar, "DESP")) {
#ifdef F7301_HAVE_X11
  if (X11Display() != nullptr) {
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CLockKeyIndicators::Refresh);
    m_timer->start(300);
    Refresh();
  }
#endif
}

void CLockKeyIndicators::Refresh() {
#ifdef F7301_HAVE_X11
  Display* display = X11Display();
  if (display == nullptr) return;
  ShowState(m_caps, "MAY", LockOn(display, "Caps Lock"));
  ShowState(m_num, "NUM", LockOn(display, "Num Lock"));
  ShowState(m_scroll, "DESP", LockOn(display, "Scroll Lock"));
#endif
}

}  // namespace f7301
