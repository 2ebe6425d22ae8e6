#include "app/js_string.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace f7301 {

QString JsString(const QString& text) {
  const QByteArray list = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(list.mid(1, list.size() - 2));
}

}  // namespace f7301
