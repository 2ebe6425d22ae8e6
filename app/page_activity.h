#pragma once
// Tells the program when the user changes the form on screen. The script
// that defines window.external in every page (CExternalObject) also reports,
// through the page's channel, every keystroke and every field left changed
// or product chosen, with the field's name and its value then; the page's
// own scripts are not involved.
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
  void Changed(const QString& name, const QString& value);

 signals:
  void changed(const QString& name, const QString& value);
};

}  // namespace f7301
