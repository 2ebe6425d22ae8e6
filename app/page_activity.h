#pragma once
// Tells the program what the user does on the form on screen. The script
// that defines window.external in every page (CExternalObject) also reports,
// through the page's channel, every keystroke and every field left changed
// or product chosen, with the field's name and its value then, and each
// press of "Validar" that ends without the declaration handed over; the
// page's own scripts are not involved.
#include <QObject>
#include <QString>

namespace f7301 {

class CPageActivity : public QObject {
  Q_OBJECT

 public:
  explicit CPageActivity(QObject* parent = nullptr) : QObject(parent) {}

  // Name under which the channel publishes this object.
  static constexpr const char* kChannelName = "formulario7301_cambios";

 public slots:
  // `left`: the field was left changed (or a product chosen), not typed in.
  void Changed(const QString& name, const QString& value, bool left);
  void ValidarStopped();

 signals:
  void changed(const QString& name, const QString& value);
  void fieldLeft();
  // "Validar" stopped at a problem of the form, after its message.
  void validarStopped();
};

}  // namespace f7301
