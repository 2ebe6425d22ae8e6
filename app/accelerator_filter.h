#pragma once
// The main window's accelerator keys. They act before the browser sees the
// key, also while the caret is in a field of the form: Ctrl+C must start
// Consultar there, not copy, and the editing keys (paste, cut, undo) and the
// pane keys do nothing at all in the form.
#include <QObject>
#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace f7301 {

enum class Command { Nuevo, Consultar, Modificar, Declaraciones, Imprimir, Guardar, Nothing };

// The command bound to `event`'s key and modifiers, if any. Ctrl+I is bound
// to nothing, although the menu shows it beside Imprimir.
std::optional<Command> AcceleratorFor(const QKeyEvent& event);

class CAcceleratorFilter : public QObject {
  Q_OBJECT

 public:
  using Dispatch = std::function<void(Command)>;

  // Acts on keys sent to `mainWindow` and the widgets inside it while no
  // dialog or menu is open.
  CAcceleratorFilter(QWidget* mainWindow, Dispatch dispatch, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool AppliesTo(QObject* watched) const;

  QWidget* m_mainWindow;
  Dispatch m_dispatch;
  int m_swallowedKey = 0;  // its release is kept from the browser too
};

}  // namespace f7301
