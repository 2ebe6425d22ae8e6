#pragma once
// A logout or a shutdown ends the program with SIGTERM or SIGHUP. Those
// signals are turned into a call on the window's thread (the handler only
// writes a byte to a pipe the event loop watches; a message or dialog open
// runs the loop too), where `beforeEnd` writes the draft without waiting on
// the page or on a box; the program then ends as the signal would have
// ended it.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace f7301 {

class CTerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit CTerminationSignals(std::function<void()> beforeEnd, QObject* parent = nullptr);
  ~CTerminationSignals() override;

  // Chromium, started with the browser's first page, puts handlers of its
  // own on these signals (a shutdown of its own, after a delay): ours go back
  // over them.
  void TakeSignalsBack();

 private:
  void OnSignal();

  std::function<void()> m_beforeEnd;
  QSocketNotifier* m_notifier = nullptr;
};

}  // namespace f7301
