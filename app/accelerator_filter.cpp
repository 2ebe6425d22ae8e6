#include "app/accelerator_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace f7301 {
namespace {

struct Accelerator {
  int key;
  Qt::KeyboardModifiers modifiers;
  Command command;
};

const Accelerator kAccelerators[] = {
    {Qt::Key_C, Qt::ControlModifier, Command::Consultar},
    {Qt::Key_D, Qt::ControlModifier, Command::Declaraciones},
    {Qt::Key_E, Qt::ControlModifier, Command::Nothing},  // copy
    {Qt::Key_M, Qt::ControlModifier, Command::Modificar},
    {Qt::Key_N, Qt::ControlModifier, Command::Nuevo},
    {Qt::Key_P, Qt::ControlModifier, Command::Imprimir},
    {Qt::Key_S, Qt::ControlModifier, Command::Guardar},
    {Qt::Key_V, Qt::ControlModifier, Command::Nothing},       // paste
    {Qt::Key_Backspace, Qt::AltModifier, Command::Nothing},   // undo
    {Qt::Key_Delete, Qt::ShiftModifier, Command::Nothing},    // cut
    {Qt::Key_F6, Qt::NoModifier, Command::Nothing},           // next pane
    {Qt::Key_F6, Qt::ShiftModifier, Command::Nothing},        // previous pane
    {Qt::Key_Insert, Qt::ControlModifier, Command::Nothing},  // copy
    {Qt::Key_Insert, Qt::ShiftModifier, Command::Nothing},    // paste
    {Qt::Key_X, Qt::ControlModifier, Command::Nothing},       // cut
    {Qt::Key_Z, Qt::ControlModifier, Command::Nothing},       // undo

    // Chromium's paste without formatting.
    {Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, Command::Nothing},
};

constexpr Qt::KeyboardModifiers kRelevantModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

}  // namespace

std::optional<Command> AcceleratorFor(const QKeyEvent& event) {
  const auto modifiers = event.modifiers() & kRelevantModifiers;
  for (const auto& a : kAccelerators) {
    if (a.key == event.key() && a.modifiers == modifiers) return a.command;
  }
  return std::nullopt;
}

CAcceleratorFilter::CAcceleratorFilter(QWidget* mainWindow, Dispatch dispatch, QObject* parent)
    : QObject(parent), m_mainWindow(mainWindow), m_dispatch(std::move(dispatch)) {}

bool CAcceleratorFilter::AppliesTo(QObject* watched) const {
  // Key events reach the window object first and then the focused widget;
  // acting on the widget only runs each command once.
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != m_mainWindow) return false;
  return QApplication::activeModalWidget() == nullptr &&
         QApplication::activePopupWidget() == nullptr;
}

bool CAcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      if (!AppliesTo(watched)) return false;
      auto* key = static_cast<QKeyEvent*>(event);
      const auto command = AcceleratorFor(*key);
      if (!command) return false;
      if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key so that no shortcut of Qt takes it; the key press
        // that follows runs the command.
        event->accept();
        return true;
      }
      m_swallowedKey = key->key();
      if (*command != Command::Nothing) {
        // Run after the key has been dealt with: the command may open a
        // modal dialog, which should not run inside this key press.
        QMetaObject::invokeMethod(
            this, [this, c = *command] { m_dispatch(c); }, Qt::QueuedConnection);
      }
      return true;
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (m_swallowedKey == 0 || key->key() != m_swallowedKey || !watched->isWidgetType()) {
        return false;
      }
      if (!key->isAutoRepeat()) m_swallowedKey = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace f7301
