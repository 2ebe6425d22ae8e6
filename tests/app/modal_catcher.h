#pragma once
// Lets a test look at a modal dialog that the program opens with exec(): the
// catcher waits for the dialog to be shown, hands it to the test, then closes
// it (reject), so the program's call returns as if the user had cancelled.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace f7301::test {

template <class Dialog>
class ModalCatcher {
 public:
  // `inspect` runs once, on the first visible modal widget of type Dialog.
  explicit ModalCatcher(std::function<void(Dialog&)> inspect) : m_inspect(std::move(inspect)) {
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start();
  }

  bool caught() const { return m_caught; }

 private:
  void Poll() {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    m_timer.stop();
    m_caught = true;
    m_inspect(*dialog);
    dialog->reject();
  }

  std::function<void(Dialog&)> m_inspect;
  QTimer m_timer;
  bool m_caught = false;
};

}  // namespace f7301::test
