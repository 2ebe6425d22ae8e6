#pragma once
// The status bar's MAY, NUM and DESP panes (caps, num and scroll lock). Where
// the windowing system tells the keyboard's lock state (X11), a pane is shown
// only while its lock is on; elsewhere the three texts stay as labels.
#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

namespace f7301 {

class CLockKeyIndicators : public QObject {
  Q_OBJECT

 public:
  explicit CLockKeyIndicators(QStatusBar& statusBar);

  QLabel* caps() const { return m_caps; }
  QLabel* num() const { return m_num; }
  QLabel* scroll() const { return m_scroll; }

 private:
  void Refresh();

  QLabel* m_caps;
  QLabel* m_num;
  QLabel* m_scroll;
  QTimer* m_timer = nullptr;
};

}  // namespace f7301
