#pragma once
// Only the context menu may paste into the form. The keys that paste are the
// accelerator table's to swallow; this keeps the middle mouse button from
// the browser, which on X11 pastes the current selection into a field.
#include <QObject>

class QWidget;

namespace f7301 {

class CPasteGuard : public QObject {
  Q_OBJECT

 public:
  // Watches, as an application event filter, the widgets inside `browser`.
  explicit CPasteGuard(QWidget* browser, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* m_browser;
};

}  // namespace f7301
